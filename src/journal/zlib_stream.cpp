// The zlib format through zlib itself: compress2() to write, inflate() to
// read, with every way a stream can be wrong told apart.
#include "journal/zlib_stream.hpp"

#include <zlib.h>

#include <climits>

namespace tg::journal {

namespace {

// No journal comes near this; a stream that inflates beyond it is refused
// before it fills the memory.
constexpr std::size_t LargestJournal = std::size_t{64} << 20;

Bytef* In(std::string_view bytes) { return reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data())); }

// Inflates the whole stream into `out`; zlib's last result.
int InflateAll(z_stream& stream, std::string& out) {
    char chunk[16384];
    int result = Z_OK;
    while (result == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(chunk);
        stream.avail_out = sizeof chunk;
        result = inflate(&stream, Z_NO_FLUSH);
        out.append(chunk, sizeof chunk - stream.avail_out);
        if (out.size() > LargestJournal) return Z_MEM_ERROR;
        // With room to write, Z_BUF_ERROR means the input ran out first.
    }
    return result;
}

std::string Failure(int result, const z_stream& stream) {
    switch (result) {
        case Z_BUF_ERROR: return "its compressed journal is cut short";
        case Z_MEM_ERROR: return "its compressed journal is larger than any journal";
        case Z_DATA_ERROR:
            return std::string("its compressed journal is damaged (") + (stream.msg ? stream.msg : "bad data") + ")";
        default: return "its compressed journal cannot be read";
    }
}

}  // namespace

std::string Compress(std::string_view bytes) {
    uLongf size = compressBound(static_cast<uLong>(bytes.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, In(bytes), static_cast<uLong>(bytes.size()), 9);
    out.resize(size);
    return out;
}

Result<std::string> Decompress(std::string_view compressed) {
    const auto damaged = [](std::string why) { return Fault{Fault::Kind::Damaged, std::move(why)}; };
    if (compressed.size() > UINT_MAX) return damaged("its compressed journal is larger than any journal");
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return damaged("no memory to read it");
    stream.next_in = In(compressed);
    stream.avail_in = static_cast<uInt>(compressed.size());
    std::string out;
    const int result = InflateAll(stream, out);
    const std::size_t left = stream.avail_in;
    const std::string failure = result != Z_STREAM_END ? Failure(result, stream) : std::string();
    inflateEnd(&stream);
    if (result != Z_STREAM_END) return damaged(failure);
    if (left != 0) return damaged("its compressed journal is followed by " + std::to_string(left) + " more bytes");
    return out;
}

}  // namespace tg::journal
