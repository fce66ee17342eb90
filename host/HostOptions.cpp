#include "host/HostOptions.h"

#include <fstream>
#include <system_error>

#include "store/ByteOrder.h"

namespace {

constexpr size_t kRecordBytes = plugin::kOptionsWords * 4;

}  // namespace

HostOptions HostOptions::Read(const std::filesystem::path& file) {
    HostOptions options;
    std::ifstream in(file, std::ios::binary);
    uint8_t bytes[kRecordBytes + 1];
    in.read(reinterpret_cast<char*>(bytes), sizeof bytes);
    // One byte more than the record tells a longer file from an exact one.
    if (static_cast<size_t>(in.gcount()) != kRecordBytes) return options;
    for (size_t i = 0; i < options.record.size(); ++i) options.record[i] = GetU32(bytes + 4 * i);
    return options;
}

bool HostOptions::Write(const std::filesystem::path& file) const {
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    if (error) return false;
    uint8_t bytes[kRecordBytes];
    for (size_t i = 0; i < record.size(); ++i) PutU32(bytes + 4 * i, record[i]);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes), sizeof bytes);
    out.close();
    return !out.fail();
}
