#include "JigtallyApplication.h"
#include "Startup.h"

int main(int argc, char** argv) {
    jt::app::JigtallyApplication app(argc, argv);
    return jt::app::runProgram(app);
}
