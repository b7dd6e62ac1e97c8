// Gives the host bridge its resource files and the toolbox services below
// this layer their access to the toolbox resource file: the host's current
// file (searching every open file) becomes gResFile, beside the host's
// design file. Start-up calls it once, before the toolbox starts.
#pragma once

void InstallEngineResourceFiles();
