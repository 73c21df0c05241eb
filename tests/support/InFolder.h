/** @file Working in another folder for a while, as a start from a shell there does. */
#pragma once

#include <filesystem>

namespace tw::test {

/// Makes `folder` the working folder for as long as it lives.
class InFolder {
  public:
    explicit InFolder(const std::filesystem::path& folder)
        : before_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~InFolder() { std::filesystem::current_path(before_); }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

  private:
    std::filesystem::path before_;
};

}  // namespace tw::test
