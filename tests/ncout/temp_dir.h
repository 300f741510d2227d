#pragma once
// A scratch folder per test and process, so parallel runs of several build
// trees never share files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace zeran::test {

inline std::filesystem::path scratch_dir(const std::string& prefix) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::filesystem::temp_directory_path() /
           (prefix + "_" + std::to_string(::getpid()) + "_" + (info ? info->name() : "x"));
}

} // namespace zeran::test
