// The last-chance report: a failure nothing else handled (a crash) is shown in a
// task-modal "Application Error" box and the program ends with exit code 1.
#pragma once

void InstallLastChanceReport();
