// Hands the request layer's calls and the server's actions to the resource
// store, which sits below this layer. Called once at start-up.
#pragma once

void InstallStoreConnection();
