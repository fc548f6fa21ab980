#pragma once

// First thing in the program: it runs from removable drives that anyone may
// have written to, so DLLs load only from the system folder, a missing disk
// raises no system box, and heap corruption ends the process at once.
void HardenProcess();
