#pragma once

class CVastryDoc;
class QWidget;

// File > Set Password: asks for the current and new password, writes the catalogue under its
// new key while a progress dialog offers Cancel, opens it again with that key, and says what
// was done.
class PasswordChange
{
public:
    enum class Outcome { Unchanged, Changed, CatalogueClosed };

    static Outcome run(CVastryDoc& document, QWidget* parent);
};
