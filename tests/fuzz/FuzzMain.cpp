// One libFuzzer target per reader: built once for each name with ZR_FUZZ_READER set to it.
// A check that finds a rule broken aborts, so libFuzzer keeps the input as a crash.
#include "tests/fuzz/ReaderChecks.h"

#include <cstdio>
#include <cstdlib>

#ifndef ZR_FUZZ_READER
#error "ZR_FUZZ_READER names the reader this target feeds"
#endif

namespace {
const readers::Reader* reader = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  reader = readers::Find(ZR_FUZZ_READER);
  if (!reader) {
    std::fprintf(stderr, "no reader called %s\n", ZR_FUZZ_READER);
    std::abort();
  }
  readers::Prepare();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const readers::Outcome outcome = reader->check(bytes, size);
  if (!outcome.failure.empty()) {
    std::fprintf(stderr, "%s: %s\n", reader->name, outcome.failure.c_str());
    std::abort();
  }
  return 0;
}
