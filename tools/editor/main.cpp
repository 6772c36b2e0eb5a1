// zindo-editor [FILE]: the level editor (README, Making a level). FILE is a level source
// (.txt) or map (.map) to open, or the source to start; without it, level.txt.
#include "engine/services/Services.h"
#include "tools/editor/Editor.h"

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
  if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
    std::fprintf(argc == 2 && std::strcmp(argv[1], "--help") == 0 ? stdout : stderr,
                 "Usage: zindo-editor [FILE]\nEdits a level source (.txt) or map (.map); a new level when FILE does "
                 "not exist (level.txt without FILE).\n");
    return argc == 2 && std::strcmp(argv[1], "--help") == 0 ? 0 : 2;
  }
  // The game beside the editor test-plays.
  const std::string exe = argv[0];
  const std::size_t slash = exe.find_last_of('/');
  const std::string game = (slash == std::string::npos ? std::string("./") : exe.substr(0, slash + 1)) + "zindorumba";
  return RunEditor(argc == 2 ? argv[1] : "level.txt", game);
}
