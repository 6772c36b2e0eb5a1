// The whole program, as the game executable and the replay driver both run it.
#pragma once

int GameMain();
