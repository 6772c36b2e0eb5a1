#include "GameMain.h"

int main() { return GameMain(); }
