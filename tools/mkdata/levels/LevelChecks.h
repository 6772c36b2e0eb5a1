// What the shipped levels must be beyond what the level reader asks of any level (a player's
// own too): physics that suit the ball rules, every brick to clear within the ball's reach,
// a second chance at a gun for sealed bricks, a brick's look telling its class; and of the
// whole set: one strength a picture, every brick class and bonus somewhere, no level twice.
// Each returns what is wrong, or "" when nothing is.
#pragma once

#include "game/files/LevelSource.h"

#include <string>
#include <utility>
#include <vector>

std::string CheckShippedLevel(const LevelSource& level);
// The levels with their file names, in playing order.
std::string CheckShippedSet(const std::vector<std::pair<std::string, LevelSource>>& levels);
