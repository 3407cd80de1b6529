#pragma once

// The client's last-error numbers, with the values of the Winsock codes the program has always
// used, so a number reads the same on every platform.
namespace FreedbError
{

inline constexpr int None = 0;
inline constexpr int InvalidArgument = 10022;      // WSAEINVAL: the host does not resolve
inline constexpr int MessageTooLong = 10040;       // WSAEMSGSIZE: the reply passed the size cap
inline constexpr int ProtocolNotSupported = 10043; // WSAEPROTONOSUPPORT: unexpected reply
inline constexpr int NetworkDown = 10050;          // WSAENETDOWN: any other socket failure
inline constexpr int NetworkUnreachable = 10051;   // WSAENETUNREACH
inline constexpr int ConnectionAborted = 10053;    // WSAECONNABORTED
inline constexpr int ConnectionReset = 10054;      // WSAECONNRESET
inline constexpr int TimedOut = 10060;             // WSAETIMEDOUT: idle or whole-request limit
inline constexpr int ConnectionRefused = 10061;    // WSAECONNREFUSED
inline constexpr int HostUnreachable = 10065;      // WSAEHOSTUNREACH
inline constexpr int Disconnected = 10101;         // WSAEDISCON: closed before the reply ended

} // namespace FreedbError
