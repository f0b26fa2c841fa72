#pragma once

// While alive, the calling thread hands file names to the Firebird client in a way that keeps
// their UTF-8 intact. Every attach and database creation runs inside one.
//
// POSIX: the embedded engine converts the UTF-8 file names it is given (isc_dpb_utf8_filename) to
// the character set of the locale, which it reads once, at its first conversion; the C locale of a
// program that never chose one cannot hold "à". The thread works in a UTF-8 LC_CTYPE meanwhile.
// Windows: the client converts UTF-8 file names with the Windows API, whatever the locale; nothing
// needs to change.
namespace brontelx::db::client {

class Utf8FileNames {
 public:
  Utf8FileNames();
  ~Utf8FileNames();
  Utf8FileNames(const Utf8FileNames&) = delete;
  Utf8FileNames& operator=(const Utf8FileNames&) = delete;

 private:
  // The thread's locale before (POSIX).
  void* previous_ = nullptr;
};

}  // namespace brontelx::db::client
