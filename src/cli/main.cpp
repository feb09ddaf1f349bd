#include "window/application.h"

int main(int argc, char** argv) {
    return qv5::Application().Run(argc, argv);
}
