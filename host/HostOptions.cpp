#include "host/HostOptions.h"

#include <fstream>
#include <system_error>

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
    for (size_t i = 0; i < options.record.size(); ++i) {
        const uint8_t* word = bytes + 4 * i;
        options.record[i] = word[0] | word[1] << 8 | word[2] << 16 | static_cast<uint32_t>(word[3]) << 24;
    }
    return options;
}

bool HostOptions::Write(const std::filesystem::path& file) const {
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    if (error) return false;
    char bytes[kRecordBytes];
    for (size_t i = 0; i < record.size(); ++i) {
        for (int b = 0; b < 4; ++b) bytes[4 * i + b] = static_cast<char>(record[i] >> (8 * b));
    }
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes, sizeof bytes);
    out.close();
    return !out.fail();
}
