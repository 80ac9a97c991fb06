// The command line: with arguments the program writes files and opens no
// window, so it needs no display.
#pragma once

#include "sheet.h"

#include <cstdint>
#include <string>

enum OutputKind { OUT_SVG, OUT_PNG, OUT_PDF };

struct CliOptions {
    SheetOptions sheet; // algorithm, size, layout, title, solution, answer key
    bool seed_given = false;
    uint32_t seed = 0;
    int count = 1;
    double min_solution = 0; // percent of the cells
    std::string output;
    OutputKind kind = OUT_SVG;
};

enum CliParse { CLI_RUN, CLI_HELP, CLI_VERSION, CLI_BAD };

// Reads the arguments after the program's name. On CLI_BAD, error holds the
// one line to print: the argument and what it allows.
CliParse cli_parse(int argc, const char *const *argv, CliOptions &o, std::string &error);

// The seeds of the mazes to make: from the first, each the next seed, less
// those whose solution runs through fewer than min_solution percent of the
// cells; false when MIN_SOLUTION_TRIES tries in a row gave none that long
// (message then says so).
bool cli_seeds(const CliOptions &o, std::vector<uint32_t> &seeds, std::string &message);

// The n-th of count output names (from 1): the name itself for one file,
// else "-<n>" before the ending, zero-padded to the width of count.
std::string numbered_path(const std::string &path, int n, int count);

// Everything: parse, make, write. Returns the exit status.
int cli_main(int argc, const char *const *argv);
