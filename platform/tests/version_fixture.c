int version_fixture(void) { return 0; }
