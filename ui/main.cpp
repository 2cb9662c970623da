// BELTRIX. Besides Qt's own options it reads only --help and --version.

#include "ui/application.h"

int main(int argc, char** argv) {
    return beltrix::ui::runApplication(argc, argv);
}
