// BELTRIX. It takes no command line.

#include "ui/application.h"

int main(int argc, char** argv) {
    return beltrix::ui::runApplication(argc, argv);
}
