#include "kernel/formhooks/FormSession.h"

uint8_t kernelOption = 0;
uint8_t kernelOptionAfter[2] = {0, 0};
uint8_t showReadError = 0;
uint8_t checkBadFieldErr = 0;
