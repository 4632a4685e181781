#include "platform/PngWriter.h"

#include <algorithm>
#include <array>

namespace {

void PutBigEndian(std::string& out, uint32_t value) {
  out += static_cast<char>(value >> 24);
  out += static_cast<char>(value >> 16);
  out += static_cast<char>(value >> 8);
  out += static_cast<char>(value);
}

void PutChunk(std::string& out, const char type[4], const std::string& data) {
  PutBigEndian(out, static_cast<uint32_t>(data.size()));
  std::string typed(type, 4);
  typed += data;
  out += typed;
  PutBigEndian(out, Crc32(reinterpret_cast<const uint8_t*>(typed.data()), typed.size()));
}

// A zlib stream of stored blocks: each holds at most 65535 bytes, with its length and the length's
// complement, little-endian; the last block says so in its header byte.
std::string StoredZlib(const std::string& raw) {
  constexpr size_t kBlock = 65535;
  std::string out = "\x78\x01";
  size_t done = 0;
  do {
    size_t length = std::min(kBlock, raw.size() - done);
    bool last = done + length == raw.size();
    out += static_cast<char>(last ? 1 : 0);
    out += static_cast<char>(length & 0xFF);
    out += static_cast<char>(length >> 8);
    out += static_cast<char>(~length & 0xFF);
    out += static_cast<char>((~length >> 8) & 0xFF);
    out.append(raw, done, length);
    done += length;
  } while (done < raw.size());
  PutBigEndian(out, Adler32(reinterpret_cast<const uint8_t*>(raw.data()), raw.size()));
  return out;
}

}  // namespace

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k)
        c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (size_t i = 0; i < size; ++i)
    crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

uint32_t Adler32(const uint8_t* data, size_t size) {
  constexpr uint32_t kModulus = 65521;
  uint32_t a = 1, b = 0;
  for (size_t i = 0; i < size; ++i) {
    a = (a + data[i]) % kModulus;
    b = (b + a) % kModulus;
  }
  return (b << 16) | a;
}

std::string EncodePng(const IconBitmap& bitmap) {
  if (bitmap.size <= 0 || bitmap.rgba.size() != static_cast<size_t>(bitmap.size) * bitmap.size * 4)
    return std::string();
  std::string header;
  PutBigEndian(header, static_cast<uint32_t>(bitmap.size));
  PutBigEndian(header, static_cast<uint32_t>(bitmap.size));
  header += "\x08\x06";            // 8 bits per sample, RGBA
  header += std::string(3, '\0');  // deflate, adaptive filtering, no interlace
  // Each row starts with its filter type, 0: the bytes as they are.
  std::string raw;
  size_t rowBytes = static_cast<size_t>(bitmap.size) * 4;
  for (int y = 0; y < bitmap.size; ++y) {
    raw += '\0';
    raw.append(reinterpret_cast<const char*>(bitmap.rgba.data()) + y * rowBytes, rowBytes);
  }
  std::string png = "\x89PNG\r\n\x1A\n";
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", StoredZlib(raw));
  PutChunk(png, "IEND", std::string());
  return png;
}
