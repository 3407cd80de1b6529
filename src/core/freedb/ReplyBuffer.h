#pragma once

#include <QByteArray>

// Collects the bytes of one HTTP reply as they arrive and decides when the reply is whole,
// apart from any socket so the rule can be tested and fuzzed with any split of the bytes.
//
// A reply is whole when its text holds the terminator: the text is then cut where the
// terminator begins. In query mode a reply whose CDDB status is not 21x has a single line and
// no terminator: it is whole once that line has ended. A reply larger than the cap is refused.
class ReplyBuffer
{
public:
    enum class State { NeedMore, Complete, TooLarge };

    ReplyBuffer(const QByteArray& terminator, bool queryMode, qsizetype maxSize);

    State append(const char* data, qsizetype size);
    // The sender has closed the connection. A one-line query reply whose status has arrived is
    // whole now even without its line end; any other reply stays cut short.
    State finish();
    State state() const { return m_state; }
    // Everything received so far; once complete, the reply without its terminator.
    const QByteArray& text() const { return m_text; }

private:
    void checkOneLineReply(qsizetype previousSize);

    QByteArray m_terminator;
    bool m_queryMode;
    qsizetype m_maxSize;
    QByteArray m_text;
    State m_state = State::NeedMore;
    qsizetype m_bodyStart = -1; // after the header end, once seen
    bool m_oneLine = false;
};
