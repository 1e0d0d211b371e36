#pragma once
// The console command line: the record, its parser and its validation against the catalogue.

#include <string>
#include <vector>

namespace zelvo {

class Catalogue;
class UserInterface;

struct CZelvoCommandLine {
    int currentOption = 0;     // code of the last option read
    bool expectValue = false;  // the next argument is a value even when it begins with "-"
    bool verbose = false;
    std::string initFile;
    std::string helpText;
    int type = 0;  // 1 standard, 2 grid
    int mode = 0;  // 0 point, 1 file
    int sys1 = 0, sys2 = 0;
    int verticalKind = 0;  // 0 none, 1 ellipsoidal height, 2 altitude
    int verticalSystem = 0;
    int typcoor1 = 0, typcoor2 = 0;
    int unit1 = 0, unit2 = 0;
    int meridian1 = 0, meridian2 = 0;
    int projection1 = 0, projection2 = 0;
    int format1 = 0, format2 = 0;
    std::string file1, file2;
    // Codes of the EPSG registry given as "EPSG:<code>" in place of a number; the number then
    // stays -1 until the code is resolved into a catalogue record (resolveRegistryCodes).
    int sys1Code = 0, sys2Code = 0;
    int meridian1Code = 0, meridian2Code = 0;
    int projection1Code = 0, projection2Code = 0;
    double x = 0, y = 0, z = 0, lon = 0, lat = 0, he = 0, E = 0, N = 0, H = 0;
};

// The usual requests of a Linux command, which run nothing: "--help" and "--version".
enum class InformationRequest { None, Help, Version };

// The first "--help" or "--version" met where parseCommandLine would read an option (not as the
// value of -x … -H), before any unknown option; None otherwise. Neither name is a described
// option, so no described command line changes meaning.
InformationRequest informationRequest(const std::vector<std::string>& args);

// The answer to "--help": the console help text, then one line per option.
std::string helpWithOptions(const std::string& consoleHelpText);

// Fills the record from the program arguments (args[0], the program path, excluded). False at
// the first unknown option, whose message has been written to the console.
bool parseCommandLine(const std::vector<std::string>& args, CZelvoCommandLine& record,
                      const std::string& consoleHelpText, UserInterface& ui);

// The vertical kind implied by the file format (file mode) or by cartesian values (point mode).
void deriveVerticalKind(CZelvoCommandLine& record);

// True when the command line names registry codes.
bool hasRegistryCodes(const CZelvoCommandLine& record);
// Adds the registry's records the codes name to the catalogue and puts their numbers in the
// record, with the transformations between two registry systems; false with message at the first
// code refused.
bool resolveRegistryCodes(CZelvoCommandLine& record, Catalogue& catalogue, std::string& message);

// Checks the record against the catalogue; message receives the first failure, or the
// confirmation text when the command line is usable.
bool validateCommandLine(const CZelvoCommandLine& record, const Catalogue& catalogue, std::string& message);

}  // namespace zelvo
