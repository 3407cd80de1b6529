// The bytes of a reply arriving in pieces of any size. The first two input bytes choose the
// mode, the size cap and how the rest is cut into pieces.
#include "freedb/ReplyBuffer.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace
{

const QByteArray terminator = QByteArrayLiteral("\r\n.\r\n");

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const bool queryMode = data[0] & 1;
    const qsizetype cap = 64 + 16 * qsizetype(data[0] >> 1); // 64 to 2096 bytes
    std::uint32_t random = data[1] * 2654435761u + 1;
    const QByteArray reply(reinterpret_cast<const char*>(data + 2), int(size - 2));

    ReplyBuffer whole(terminator, queryMode, cap);
    whole.append(reply.constData(), reply.size());

    ReplyBuffer pieces(terminator, queryMode, cap);
    qsizetype at = 0;
    while (at < reply.size() && pieces.state() == ReplyBuffer::State::NeedMore) {
        random = random * 1103515245u + 12345u;
        const qsizetype piece = std::min<qsizetype>(1 + (random >> 16) % 97, reply.size() - at);
        pieces.append(reply.constData() + at, piece);
        at += piece;
    }

    // The sender hangs up after the last byte.
    ReplyBuffer closed = pieces;
    closed.finish();
    if (closed.state() == ReplyBuffer::State::Complete &&
        pieces.state() != ReplyBuffer::State::Complete && !queryMode)
        std::abort();

    for (const ReplyBuffer* buffer : {&whole, &pieces, &closed}) {
        if (buffer->text().size() > cap || !reply.startsWith(buffer->text()))
            std::abort();
        if (buffer->state() == ReplyBuffer::State::Complete && buffer->text().contains(terminator))
            std::abort();
    }
    // Without the one-line rule, where the bytes were cut must not matter.
    if (!queryMode && reply.size() <= cap &&
        (whole.state() != pieces.state() || whole.text() != pieces.text()))
        std::abort();
    return 0;
}
