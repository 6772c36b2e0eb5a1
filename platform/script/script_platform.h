// Controls of the scripted platform, for tests and the replay driver. Programs linked with
// zr_platform_script use these to set the stage the engine then runs on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace script {

// The folder that plays the part of the executable's folder (default: the current directory).
void SetRoot(const std::string& folder);

// The virtual clock, in microseconds. It starts at 0 and every read through the platform
// advances it by kClockStepMicroseconds, so busy waits always end.
constexpr std::uint64_t kClockStepMicroseconds = 10;
std::uint64_t Now();
void SetNow(std::uint64_t microseconds);
void Advance(std::uint64_t microseconds);

// Every message box shown so far, as "CAPTION | TEXT", and every document opened.
const std::vector<std::string>& Boxes();
const std::vector<std::string>& OpenedDocuments();
// Echo boxes on standard output as "box: CAPTION | TEXT" (on by default).
void SetEchoBoxes(bool on);
void ClearRecords();

}  // namespace script
