#include "resources/kernelaccess/KernelStoreAccess.h"

#include "kernel/store/StoreAccess.h"
#include "resources/ResourceApi.h"

void InstallKernelStoreAccess()
{
    KernelStoreAccess access;
    access.xcurres = xcurres;
    access.xgetres = xgetres;
    access.xget1res = xget1res;
    access.xwriteres = xwriteres;
    access.xaddres = xaddres;
    access.updateres = updateres;
    access.hpurgeres = hpurgeres;
    access.hunpurgeres = hunpurgeres;
    access.uniqueresid = uniqueresid;
    access.lasterror = [] { return reserr; };
    SetKernelStoreAccess(access);
}
