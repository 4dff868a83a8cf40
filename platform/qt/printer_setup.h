// The program's printer: one for the whole run, as the Windows framework kept one set of
// printer settings for its application. The print setup command chooses it, and every
// print, direct print and preview starts from it, so a choice holds for the next print.
// The page's size and orientation stay the figure's own (its drawing conditions); only
// the printer and its options are the user's choice here.
#pragma once

#include <string>

class QPrinter;
class QWidget;

namespace wv {

QPrinter& ProgramPrinter();
// A printer that exists on this system (not a PDF or no printer at all): direct prints go
// to it; without one they are written as PDF files.
bool HasRealPrinter(const QPrinter& printer);
// The print setup dialog on the program's printer; the choice is kept on OK. True then.
bool RunPrintSetup(QWidget* parent, const std::string& caption);

}  // namespace wv
