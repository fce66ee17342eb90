#include "host/HostOptions.h"

#include <system_error>

#include "platform/HostOptionsFile.h"

HostOptions HostOptions::Read(const std::filesystem::path& file) {
    HostOptions options;
    ReadOptionsFile(file, options.record);
    return options;
}

bool HostOptions::Write(const std::filesystem::path& file) const {
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    return !error && WriteOptionsFile(file, record);
}
