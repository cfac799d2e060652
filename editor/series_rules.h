#pragma once

#include <string>
#include <string_view>

namespace gk {

// The leading run of ASCII digits when the name starts with a digit, else the leading run of
// ASCII letters; empty when the name starts with neither. Bytes above 127 are neither.
std::string SeriesPrefix(std::string_view fileName);

// A directory entry belongs to the series of `prefix`: its name is of the kind that makes a
// series (the wildcard "*.bmp" matches it, without regard to case) and begins with the prefix,
// compared with case. An empty prefix has no series.
bool InSeries(std::string_view name, std::string_view prefix);

// The menu order: case-insensitive, byte by byte, every byte that is neither an ASCII digit nor
// an ASCII letter before digits before letters, and a name before a longer name it begins.
// Names equal but for case are ordered by their bytes, so the order is total.
bool SeriesLess(std::string_view a, std::string_view b);

// The name that "Save++" saves under, made from the document path.
struct IncrementalName {
  enum class Outcome {
    Advanced,       // `path` holds the new name
    CannotAdvance,  // "Can't save++": unnamed, or the character before ".bmp" has no successor
    NoBmpSuffix,    // no lowercase ".bmp" in the path, or one at its very start
  };
  Outcome outcome;
  std::string path;
};

// The first lowercase ".bmp" of the whole path decides: a digit before it gets "a.bmp" after it
// and whatever followed is dropped; "a" to "y" before it advance to the next letter in place.
IncrementalName NextIncrementalName(std::string_view documentPath);

}  // namespace gk
