#pragma once

// The maker's support mail and web site, opened by the Internet menu and the about box.
namespace MakerAddresses
{

inline constexpr const char* SupportMail = "mailto:support@tunvale.example";
inline constexpr const char* Website = "https://www.tunvale.example/";

} // namespace MakerAddresses
