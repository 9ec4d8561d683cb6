#include "platform/x11/x11_program.h"

int main(int argc, char** argv) { return glintora::x11::RunProgram(argc, argv); }
