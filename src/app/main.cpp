#include "JigtallyApplication.h"
#include "Startup.h"
#include "data/ProgramState.h"

int main(int argc, char** argv) {
    jt::app::JigtallyApplication app(argc, argv);
    jt::ProgramState state;
    return jt::app::runProgram(app, state);
}
