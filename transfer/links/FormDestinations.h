// The counterparts the link walker of a copied form asks for, given by the
// transfer's conflict list (forms/walkers/FormDestHooks.h).
#pragma once

namespace transfer {

void InstallFormDestinations();

}  // namespace transfer
