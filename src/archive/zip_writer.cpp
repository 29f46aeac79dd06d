#include "archive/zip_writer.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

#include "platform/failure.h"

namespace quillon::archive {
namespace {

constexpr std::uint32_t kLocalHeader = 0x04034b50;
constexpr std::uint32_t kCentralHeader = 0x02014b50;
constexpr std::uint32_t kEndRecord = 0x06054b50;
constexpr std::uint16_t kUtf8Names = 1u << 11;
constexpr std::uint16_t kStored = 0;
constexpr std::uint16_t kDeflated = 8;
constexpr std::uint16_t kVersion = 20;  // 2.0: deflate and folders, made on MS-DOS rules
constexpr std::uint64_t kLimit = std::numeric_limits<std::uint32_t>::max();

void Append16(std::string& out, std::uint16_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>(value >> 8);
}

void Append32(std::string& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

// The runtime's "overflow", as the sizes are.
platform::Failure TooLarge() {
  return platform::Failure(
      6, u"El archivo zip sería demasiado grande (más de 4 GiB o 65535 archivos)");
}

// The DOS date and time fields; moments outside what they can hold take the nearest end.
std::uint16_t DosDate(const platform::DateTime& moment) {
  if (moment.year < 1980) return (1 << 5) | 1;
  if (moment.year > 2107) return static_cast<std::uint16_t>((127 << 9) | (12 << 5) | 31);
  return static_cast<std::uint16_t>(((moment.year - 1980) << 9) | (moment.month << 5) | moment.day);
}

std::uint16_t DosTime(const platform::DateTime& moment) {
  if (moment.year < 1980) return 0;
  if (moment.year > 2107) return static_cast<std::uint16_t>((23 << 11) | (59 << 5) | 29);
  return static_cast<std::uint16_t>((moment.hour << 11) | (moment.minute << 5) |
                                    (moment.second / 2));
}

// The raw deflate stream of `bytes` (no zlib header, window of 32 KiB); empty when zlib fails.
std::string Deflate(std::string_view bytes) {
  z_stream stream{};
  if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    return {};
  }
  std::string out(deflateBound(&stream, static_cast<uLong>(bytes.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  const int result = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return result == Z_STREAM_END ? out : std::string();
}

}  // namespace

void ZipWriter::Add(std::string_view name, std::string_view bytes,
                    const platform::DateTime& modified) {
  if (bytes.size() > kLimit || name.size() > 0xFFFF || members_ == 0xFFFF) throw TooLarge();
  const std::uint32_t crc = static_cast<std::uint32_t>(
      crc32_z(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(bytes.data()), bytes.size()));
  std::string deflated = bytes.empty() ? std::string() : Deflate(bytes);
  const bool deflate = !deflated.empty() && deflated.size() < bytes.size();
  const std::string_view data = deflate ? std::string_view(deflated) : bytes;
  const std::uint64_t offset = out_.size();
  if (offset + 30 + name.size() + data.size() > kLimit) throw TooLarge();

  // The fields a local header and its central directory entry share, from the version needed on.
  std::string shared;
  Append16(shared, kVersion);
  Append16(shared, kUtf8Names);
  Append16(shared, deflate ? kDeflated : kStored);
  Append16(shared, DosTime(modified));
  Append16(shared, DosDate(modified));
  Append32(shared, crc);
  Append32(shared, static_cast<std::uint32_t>(data.size()));
  Append32(shared, static_cast<std::uint32_t>(bytes.size()));
  Append16(shared, static_cast<std::uint16_t>(name.size()));
  Append16(shared, 0);  // no extra field

  Append32(out_, kLocalHeader);
  out_ += shared;
  out_ += name;
  out_ += data;

  Append32(central_directory_, kCentralHeader);
  Append16(central_directory_, kVersion);  // made by: MS-DOS rules, no Unix permissions
  central_directory_ += shared;
  Append16(central_directory_, 0);  // no comment
  Append16(central_directory_, 0);  // disk 0
  Append16(central_directory_, 0);  // internal attributes
  Append32(central_directory_, 0);  // external attributes
  Append32(central_directory_, static_cast<std::uint32_t>(offset));
  central_directory_ += name;
  ++members_;
}

std::string ZipWriter::Finish() {
  const std::uint64_t directory_offset = out_.size();
  if (directory_offset + central_directory_.size() + 22 > kLimit) throw TooLarge();
  out_ += central_directory_;
  Append32(out_, kEndRecord);
  Append16(out_, 0);  // this disk
  Append16(out_, 0);  // the disk of the central directory
  Append16(out_, members_);
  Append16(out_, members_);
  Append32(out_, static_cast<std::uint32_t>(central_directory_.size()));
  Append32(out_, static_cast<std::uint32_t>(directory_offset));
  Append16(out_, 0);  // no comment
  central_directory_.clear();
  members_ = 0;
  return std::move(out_);
}

}  // namespace quillon::archive
