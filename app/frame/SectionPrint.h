#pragma once
// Prints the active case's section on one page: drawn by the core in print mode, fitted to the
// page inside its margins, with the page number when the print settings ask for one.

class CManageCore;
class QPrinter;

// Landscape A4 with margins, the printer's high resolution: what a print starts from.
void PreparePrinter(QPrinter& printer);
// False when painting on the printer cannot begin (a PDF file that cannot be written, say).
bool PrintSection(CManageCore& core, QPrinter& printer);
