// The object the shared precompiled header of the test programs is built for.
