#include "Canvas.h"
namespace art {
void WriteMenus(Output&) {}
void WriteGameOverAndEnd(Output&) {}
void WriteWelcomeIconHelp(Output&) {}
}
