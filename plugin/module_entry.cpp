// The plug-in module's entry point (filled in with the factory).
