#include "panel/CZR_K880TM_ControlApp.h"

int main(int, char** argv) {
    CZR_K880TM_ControlApp app(argv[0]);
    return app.run();
}
