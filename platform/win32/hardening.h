#pragma once

// First thing in the program: it runs from removable drives that anyone may
// have written to, so DLLs load only from the system folder, a missing disk
// raises no system box on the window's thread, and heap corruption ends the
// process at once.
void HardenProcess();

// Makes the system folder the current one. A process whose current folder
// is on a USB drive keeps Windows from removing the drive safely; the folder
// the program was started in matters only until the window is created.
void LeaveTheDrive();
