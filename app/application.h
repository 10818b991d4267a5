// The program's entry: start, main loop, shutdown.
#pragma once

int runApplication(int argc, char** argv); // runs the whole program; returns the process exit code
