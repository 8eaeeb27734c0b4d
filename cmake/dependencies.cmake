# Libraries that come from Debian packages (see scripts/setup-deps).
set(PHOTARIUM_EXTRA_LIBS "")
