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

std::optional<std::string> Decompress(std::string_view compressed, std::string& why) {
    if (compressed.size() > UINT_MAX) {
        why = "its compressed journal is larger than any journal";
        return std::nullopt;
    }
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) {
        why = "no memory to read it";
        return std::nullopt;
    }
    stream.next_in = In(compressed);
    stream.avail_in = static_cast<uInt>(compressed.size());
    std::string out;
    const int result = InflateAll(stream, out);
    const std::size_t left = stream.avail_in;
    if (result != Z_STREAM_END) why = Failure(result, stream);
    inflateEnd(&stream);
    if (result != Z_STREAM_END) return std::nullopt;
    if (left != 0) {
        why = "its compressed journal is followed by " + std::to_string(left) + " more bytes";
        return std::nullopt;
    }
    return out;
}

}  // namespace tg::journal
