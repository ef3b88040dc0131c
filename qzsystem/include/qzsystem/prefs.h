// Host preferences read by the controls.
#pragma once

#include <cstdint>

constexpr uint32_t PrefGrabTolerance = 0x10000000;
constexpr uint32_t PrefColourDepth = 0x10000028;

// The preference's value: what the host set, else its default (grab
// tolerance 5 pixels, colour depth 0), else 0 for an unknown tag.
intptr_t GetPrefLong(uint32_t tag);
void SetPrefLong(uint32_t tag, intptr_t value);
// Back to the defaults.
void ResetPrefs();
