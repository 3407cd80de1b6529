#include "freedb/ReplyBuffer.h"

#include "freedb/CddbReply.h"

#include <algorithm>

ReplyBuffer::ReplyBuffer(const QByteArray& terminator, bool queryMode, qsizetype maxSize)
    : m_terminator(terminator), m_queryMode(queryMode), m_maxSize(maxSize)
{
}

ReplyBuffer::State ReplyBuffer::append(const char* data, qsizetype size)
{
    if (m_state != State::NeedMore || size <= 0)
        return m_state;
    if (size > m_maxSize - m_text.size()) {
        m_state = State::TooLarge;
        return m_state;
    }
    const qsizetype previousSize = m_text.size();
    m_text.append(data, size);

    // Where a one-line reply's line end may be: all of its body once it is known to be one.
    qsizetype lineScanFrom = previousSize;
    if (m_queryMode && !m_oneLine) {
        checkOneLineReply(previousSize);
        lineScanFrom = m_bodyStart;
    }

    // Earlier passes found no terminator, so only the new bytes and the few before them that
    // could start one need looking at.
    if (!m_terminator.isEmpty()) {
        const qsizetype from = std::max<qsizetype>(0, previousSize - (m_terminator.size() - 1));
        const qsizetype at = m_text.indexOf(m_terminator, from);
        if (at >= 0) {
            m_text.truncate(at);
            m_state = State::Complete;
            return m_state;
        }
    }

    // A one-line reply ends with its line: waiting for more would only run into the time-out,
    // and stopping earlier could cut the match line of a "200" in two.
    if (m_oneLine && m_text.indexOf('\n', std::max(m_bodyStart, lineScanFrom)) >= 0)
        m_state = State::Complete;
    return m_state;
}

ReplyBuffer::State ReplyBuffer::finish()
{
    if (m_state == State::NeedMore && m_oneLine)
        m_state = State::Complete;
    return m_state;
}

void ReplyBuffer::checkOneLineReply(qsizetype previousSize)
{
    if (m_bodyStart < 0) {
        const qsizetype headerEnd =
            m_text.indexOf("\r\n\r\n", std::max<qsizetype>(0, previousSize - 3));
        if (headerEnd < 0)
            return;
        m_bodyStart = headerEnd + 4;
    }
    if (m_text.size() - m_bodyStart < 3)
        return;
    const char* body = m_text.constData() + m_bodyStart;
    m_oneLine = !CddbReply::isMultiLineStatus(CddbReply::statusCode(body, body + 3));
}
