// How the install engine reports on the installing page: every label change
// and status line is followed by pumping window messages (the window stays
// responsive and Cancel gets through), and every status line also goes to
// the setup log, without its final line break.
#pragma once

#include "core/str.h"

class Progress;
class SetupLog;

void ShowStatus(Progress& progress, const cc::Str& text);
void ShowDetail(Progress& progress, const cc::Str& text);
void ShowStatusLine(Progress& progress, SetupLog& log, const cc::Str& line);
