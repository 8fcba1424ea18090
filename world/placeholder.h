#pragma once
// Marks the body of an operation that a later issue of the game world
// fills in. The operation is declared with its final signature and, until
// then, answers "nothing happened" (0, nothing changed). The test
// tests/world/placeholder_test.cpp lists every mark left in the sources.

#define WORLD_PLACEHOLDER(issue, name) static_cast<void>(0)
