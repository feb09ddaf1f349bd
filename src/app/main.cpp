#include "app/application.h"

int main(int argc, char** argv) {
    return qv5::CQV5config_2App().Run(argc, argv);
}
