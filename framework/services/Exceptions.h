#pragma once

#include <atomic>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace AppFrame {

// Where a framework exception was thrown. Every site is one row of ThrowSites.h, so the last
// site can be published as a single pointer and file and line always belong together.
struct ThrowSite {
  const char* file{nullptr};
  std::int32_t line{0};
};

// The site of the most recent framework exception made at a throw site; {nullptr, 0} before any.
ThrowSite GetLastExceptionSite();

// Root of the framework's exception family. The site constructor records the throw site;
// copies made while the exception travels leave the last site alone.
class Exception {
 public:
  explicit Exception(const ThrowSite* site);
  Exception(const Exception&) = default;
  Exception& operator=(const Exception&) = default;
  virtual ~Exception();
};

class BadParameter : public Exception {
 public:
  using Exception::Exception;
};

class ResAlloc : public Exception {
 public:
  using Exception::Exception;
};

class TimeOut : public Exception {
 public:
  using Exception::Exception;
};

class DuplicateEntry : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace AppFrame

namespace Vud {

// Text-carrying exception of the support library; the archive's parse exception derives from it.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace Vud
