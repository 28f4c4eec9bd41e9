#include "ui/shell/WrenlowMacApp.h"

int main(int argc, char *argv[])
{
    return wrenlow::WrenlowMacApp::main(argc, argv);
}
