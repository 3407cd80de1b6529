#pragma once

class CVastryDoc;
class QWidget;

// File > Export as > Web Site: asks for a folder, publishes the albums the list shows into it
// while a progress dialog offers Cancel (which leaves the folder as it was), and says how it
// went, offering to open the site.
class PublishWithProgress
{
public:
    static constexpr const char* Caption = "Publish Web Site";

    // True when the site was published.
    static bool run(CVastryDoc& document, QWidget* parent);
};
