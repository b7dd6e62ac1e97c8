#include "kernel/startup/XmlPlatform.h"

#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLException.hpp>
#include <xercesc/util/XMLUniDefs.hpp>
#include <xercesc/util/XMLUni.hpp>

namespace {

bool gReady = false;

}  // namespace

bool InitXmlPlatform()
{
    if (gReady) return true;
    try {
        xercesc::XMLPlatformUtils::Initialize(xercesc::XMLUni::fgXercescDefaultLocale);
        gReady = true;
    } catch (const xercesc::XMLException&) {
        gReady = false;
    } catch (...) {
        gReady = false;
    }
    return gReady;
}

bool IsXmlPlatformReady() { return gReady; }
