// Every file the game reads, fed with any bytes at all: each check writes the bytes where the
// game keeps that file, in a game folder of its own, calls the game's own reading code on it
// and then checks what the game relies on afterwards. The fuzzers (FuzzMain.cpp) run them on
// bytes libFuzzer makes up; reader_regression_test runs them on the inputs kept in inputs/.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace readers {

// The outcome of one check: what broke (empty when every rule held), and whether the game
// took the file (a picture with a size, a sound with a buffer, a raw file long enough...).
struct Outcome {
  std::string failure;
  bool accepted = false;
};
using CheckFn = Outcome (*)(const std::uint8_t* bytes, std::size_t size);

struct Reader {
  const char* name;  // fuzz_<name>, inputs/<name>/
  CheckFn check;
};

// Every reader, in a fixed order. A new reader joins with its check and its line in All(),
// its name in ZR_READERS (CMakeLists.txt here) and a few seeds in inputs/<name>/; once the
// fuzzer finds something and it is mended, the input joins them there.
const std::vector<Reader>& All();
const Reader* Find(const std::string& name);

// A game folder of its own (under the system's temporary folder) as the executable's
// folder, message boxes recorded silently, the engine's services started, a back buffer to
// draw into. Safe to call more than once; every check calls it.
void Prepare();
const std::string& GameFolder();

// Writes bytes to a file of the game folder (name relative to it, '/' separated).
bool WriteGameFile(const std::string& name, const std::uint8_t* bytes, std::size_t size);

}  // namespace readers
