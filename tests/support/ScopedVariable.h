// SPDX-License-Identifier: MIT
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace qv::testing {

// Sets or clears an environment variable for one test and puts back what was there.
class ScopedVariable {
  public:
    explicit ScopedVariable(const char* name) : name_(name) {
        if (const char* value = std::getenv(name)) saved_ = value;
    }
    ScopedVariable(const char* name, const char* value) : ScopedVariable(name) { Set(value); }
    ~ScopedVariable() { Set(saved_ ? saved_->c_str() : nullptr); }
    void Set(const char* value) const { value ? setenv(name_, value, 1) : unsetenv(name_); }

  private:
    const char* name_;
    std::optional<std::string> saved_;
};

}  // namespace qv::testing
