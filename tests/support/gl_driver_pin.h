// Keeps Mesa's GL driver loaded until the test process ends. SDL unloads it when the window
// goes, and LeakSanitizer can then no longer name the driver's own leftovers at exit; pinned, they
// carry the driver's name and tests/support/lsan.supp passes over them.
#pragma once

void pinGlDriverForLeakReports();
