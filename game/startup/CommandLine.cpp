#include "game/startup/CommandLine.h"

#include <cstring>

#ifndef ZR_VERSION
#error "ZR_VERSION comes from the project's version in CMakeLists.txt"
#endif

namespace {

constexpr int kPlay = -1;
constexpr int kBadUsage = 2;

struct Option {
  const char* name;   // "--name"
  const char* alias;  // a short form, or nullptr
  const char* value;  // the name of its value in the help ("FILE"), or nullptr for none
  const char* help;
  // What the option does (value: the next argument, or nullptr); returns kPlay to go on
  // reading, or an exit code.
  int (*run)(std::FILE* out, const char* value);
};

int PrintHelp(std::FILE* out, const char*);

int PrintVersion(std::FILE* out, const char*) {
  std::fprintf(out, "zindorumba %s\n", ZR_VERSION);
  return 0;
}

// New options go into this table (an option with a value would take its argument next).
const Option kOptions[] = {
    {"--help", "-h", nullptr, "show this help and exit", PrintHelp},
    {"--version", nullptr, nullptr, "show the version and exit", PrintVersion},
};

int PrintHelp(std::FILE* out, const char*) {
  std::fprintf(out,
               "Usage: zindorumba [OPTION]\n"
               "A ball-and-paddle game: a drummer monkey breaks the crates of a tropical island.\n"
               "The welcome dialog chooses a window or full screen and the gamepad.\n\n");
  for (const Option& o : kOptions) {
    char names[40];
    std::snprintf(names, sizeof names, "%s%s%s%s%s", o.alias ? o.alias : "", o.alias ? ", " : "    ", o.name,
                  o.value ? " " : "", o.value ? o.value : "");
    std::fprintf(out, "  %-20s %s\n", names, o.help);
  }
  std::fprintf(out, "\nSee zindorumba(6) for the files it reads and writes.\n");
  return 0;
}

}  // namespace

int ReadCommandLine(int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    const Option* found = nullptr;
    for (const Option& o : kOptions) {
      if (std::strcmp(arg, o.name) == 0 || (o.alias && std::strcmp(arg, o.alias) == 0)) found = &o;
    }
    if (!found) {
      std::fprintf(err, "zindorumba: %s '%s'\nTry 'zindorumba --help' for more information.\n",
                   arg[0] == '-' ? "unknown option" : "unexpected argument", arg);
      return kBadUsage;
    }
    const char* value = nullptr;
    if (found->value) {
      if (i + 1 >= argc) {
        std::fprintf(err, "zindorumba: option '%s' needs a %s\nTry 'zindorumba --help' for more information.\n",
                     found->name, found->value);
        return kBadUsage;
      }
      value = argv[++i];
    }
    const int code = found->run(out, value);
    if (code != kPlay) return code;
  }
  return kPlay;
}
