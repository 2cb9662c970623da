// BELTRIX's own main(), compiled into beltrix-bench-probe under another name, so that the probe
// starts the program by exactly the code that the beltrix executable runs.

#include "ui/form1.h"

#include <QApplication>
#include <QIcon>

#include <malloc.h>

#define main beltrixMain
#include "ui/main.cpp"
