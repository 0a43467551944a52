// Showing a file path in a label of fixed size: the path is broken into
// lines at its separators, and when it needs more lines than the label
// holds, folders from its middle give way to "..." so that the drive and
// above all the file name stay visible.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "core/str.h"

namespace wizard {

// The width of a text in the label's font, in pixels.
using MeasureText = std::function<int(std::u16string_view text)>;

// `path` as at most `maxLines` lines (at least one), each no wider than
// `width` by `measure`. A folder or file name wider than a line is broken
// between characters. When the whole path does not fit, middle folders are
// left out, nearest to the drive first, and replaced by "...\\"; a file
// name that alone is too long keeps its end ("..." + the last characters).
// An empty path gives no lines.
std::vector<cc::Str> FitPathLines(const cc::Str& path, int width, int maxLines, const MeasureText& measure);

// The lines joined with "\r\n".
cc::Str JoinLines(const std::vector<cc::Str>& lines);

}  // namespace wizard
