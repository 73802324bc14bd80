// The two columns the blocks fall in (their left edges), written out here on purpose: the tests
// hold the game's layout against a copy of their own.
#pragma once

constexpr float LeftColumnX = 220.0f;
constexpr float RightColumnX = 550.0f;
