#include "looks/Cust.h"

#include "kernel/collation/CustRecord.h"

void ReadCust() { LoadCust(); }
