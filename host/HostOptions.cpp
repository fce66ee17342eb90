#include "host/HostOptions.h"

#include <system_error>
#include <type_traits>

#include "platform/HostOptionsFile.h"

static_assert(std::is_same_v<HostOptionsRecord, OptionsFileRecord>, "the options file holds the contract's record");

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
