#include "game/startup/CommandLine.h"

#include "engine/services/Services.h"
#include "game/files/LevelSet.h"

#include <cstring>
#include <string>

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
  int (*run)(std::FILE* out, std::FILE* err, const char* value);
};

int PrintHelp(std::FILE* out, std::FILE*, const char*);

bool levelAlone = false;

int PrintVersion(std::FILE* out, std::FILE*, const char*) {
  std::fprintf(out, "zindorumba %s\n", ZR_VERSION);
  return 0;
}

// A level set of the player's own: refused at once, with the file, the line and the reason,
// when any of its levels is one the game would refuse.
int UseLevels(std::FILE* err, const char* value, bool alone) {
  std::string error;
  if (CustomLevels()) {
    std::fprintf(err, "zindorumba: give one of --level and --levels, once\n");
    return kBadUsage;
  }
  if (!(alone ? UseLevelFile(value, error) : UseLevelFolder(value, error))) {
    std::fprintf(err, "zindorumba: %s\n", error.c_str());
    return kBadUsage;
  }
  levelAlone = alone;
  return kPlay;
}
int UseLevel(std::FILE*, std::FILE* err, const char* value) { return UseLevels(err, value, true); }
int UseFolder(std::FILE*, std::FILE* err, const char* value) { return UseLevels(err, value, false); }
// The levels in the player's own data folder, as a second set beside the shipped one.
int UseOwnLevels(std::FILE*, std::FILE* err, const char*) {
  const char* home = PlayerDataFolder();
  if (!home) {
    std::fprintf(err, "zindorumba: no data folder of your own (neither XDG_DATA_HOME nor HOME is set)\n");
    return kBadUsage;
  }
  return UseLevels(err, (std::string(home) + "/levels").c_str(), false);
}

// New options go into this table (an option with a value would take its argument next).
const Option kOptions[] = {
    {"--help", "-h", nullptr, "show this help and exit", PrintHelp},
    {"--version", nullptr, nullptr, "show the version and exit", PrintVersion},
    {"--level", nullptr, "FILE", "play this level alone at once (a source .txt or a map .map)", UseLevel},
    {"--levels", nullptr, "FOLDER", "play the levels of this folder (docs/custom-levels.md)", UseFolder},
    {"--my-levels", nullptr, nullptr, "play the levels in your data folder's levels/ (XDG)", UseOwnLevels},
};

int PrintHelp(std::FILE* out, std::FILE*, const char*) {
  std::fprintf(out,
               "Usage: zindorumba [OPTION]...\n"
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
    const int code = found->run(out, err, value);
    if (code != kPlay) return code;
  }
  return kPlay;
}

bool LevelAloneAsked() { return levelAlone; }
