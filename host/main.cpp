// brontelx: command-line companion of the library.
//   brontelx demo [FOLDER]              create demo databases and show the library at work
//   brontelx validate USER DATUM [FUNCTION]  start a session for USER and run a validation
#include <charconv>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

#include "BrontelX.Classes.h"
#include "ClientShutdown.h"
#include "Demo.h"
#include "VelValidazPers.h"

namespace {

int Usage() {
  std::cerr << "usage: brontelx demo [FOLDER]\n"
               "       brontelx validate USER DATUM [FUNCTION]\n";
  return 2;
}

int Validate(const std::string& user, const std::string& datum, const std::string& function) {
  std::int32_t code = 0;
  const auto [end, error] = std::from_chars(user.data(), user.data() + user.size(), code);
  if (error != std::errc() || end != user.data() + user.size()) return Usage();
  brontelx::TSessione session;
  session.Avvia(code);
  std::cout << brontelx::EseguiValidazPers(session.IBDatabase(), function, code, datum) << "\n";
  return 0;
}

int Run(int argc, char** argv) {
  try {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "demo" && argc <= 3) {
      return brontelx::demo::RunDemo(argc == 3 ? argv[2] : std::filesystem::current_path() / "demo-data");
    }
    if (command == "validate" && (argc == 4 || argc == 5)) {
      return Validate(argv[2], argv[3], argc == 5 ? argv[4] : "VelZidBol");
    }
    return Usage();
  } catch (const std::exception& e) {
    std::cerr << "brontelx: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int result = Run(argc, argv);
  try {
    // A program ends the client's threads before it exits; the library never does.
    brontelx::db::ShutdownClient();
  } catch (const std::exception& e) {
    std::cerr << "brontelx: " << e.what() << "\n";
  }
  return result;
}
