// The fixed content of the demo: figures with their part names, the
// catalogues, abbreviations and vehicle features.
#include "demo_tables.h"

namespace pxbuild::demo {

const std::vector<FigureDef>& figures() {
    static const std::vector<FigureDef> k = {
        {"1101", "ENGINE ASSEMBLY & CYLINDER HEAD",
         {{"11400A", "BLOCK SUB-ASSY, SHORT", 1}, {"11101A", "HEAD SUB-ASSY, CYLINDER", 1},
          {"11115A", "GASKET, CYLINDER HEAD", 1}, {"11213A", "COVER SUB-ASSY, CYLINDER HEAD", 1},
          {"11270A", "COVER, TIMING BELT", 1}}},
        {"1301", "CRANKSHAFT & PISTON",
         {{"13101A", "PISTON SUB-ASSY, W/PIN", 4}, {"13011A", "RING SET, PISTON", 1},
          {"13201A", "ROD SUB-ASSY, CONNECTING", 4}, {"13411A", "CRANKSHAFT", 1},
          {"13470A", "PULLEY, CRANKSHAFT", 1}}},
        {"1501", "ENGINE OIL PUMP & FILTER",
         {{"15100A", "PUMP ASSY, OIL", 1}, {"15601A", "ELEMENT, OIL FILTER", 1}, {"15600A", "FILTER SUB-ASSY, OIL", 1},
          {"12101A", "PAN, OIL", 1}, {"90341A", "PLUG, DRAIN", 1}, {"15301A", "STRAINER SUB-ASSY, OIL", 1}}},
        {"1601", "WATER PUMP & RADIATOR",
         {{"16100A", "PUMP ASSY, WATER", 1}, {"16400A", "RADIATOR ASSY", 1}, {"16571A", "HOSE, RADIATOR, NO.1", 1},
          {"16572A", "HOSE, RADIATOR, NO.2", 1}, {"16401A", "CAP SUB-ASSY, RADIATOR", 1},
          {"90916A", "THERMOSTAT", 1}, {"16361A", "FAN, COOLING", 1}}},
        {"1701", "AIR CLEANER & MANIFOLD",
         {{"17801A", "ELEMENT, AIR CLEANER FILTER", 1}, {"17700A", "CLEANER ASSY, AIR", 1},
          {"17111A", "MANIFOLD, INTAKE", 1}, {"17141A", "MANIFOLD, EXHAUST", 1},
          {"17410A", "PIPE ASSY, EXHAUST, FRONT", 1}, {"17430A", "PIPE ASSY, EXHAUST, TAIL", 1}}},
        {"1901", "IGNITION & STARTER",
         {{"90919A", "PLUG, SPARK", 4}, {"90920A", "COIL ASSY, IGNITION", 4}, {"28100A", "STARTER ASSY", 1},
          {"27060A", "ALTERNATOR ASSY", 1}, {"28800A", "BATTERY", 1}}},
        {"2301", "FUEL INJECTION SYSTEM",
         {{"23209A", "INJECTOR ASSY, FUEL", 4}, {"23300A", "FILTER ASSY, FUEL", 1}, {"23221A", "PUMP ASSY, FUEL", 1},
          {"22030A", "BODY ASSY, THROTTLE", 1}}},
        {"3101", "CLUTCH & RELEASE FORK",
         {{"31250A", "DISC ASSY, CLUTCH", 1}, {"31210A", "COVER ASSY, CLUTCH", 1},
          {"31230A", "BEARING ASSY, CLUTCH RELEASE", 1}, {"31204A", "FORK SUB-ASSY, RELEASE", 1}}},
        {"3301", "TRANSMISSION CASE & OIL SEAL",
         {{"33101A", "CASE, TRANSMISSION", 1}, {"33111A", "CASE, EXTENSION", 1}, {"90311A", "SEAL, OIL", 2},
          {"33501A", "GEAR, 1ST", 1}, {"33502A", "GEAR, 2ND", 1}}},
        {"4101", "FRONT DRIVE SHAFT",
         {{"43410A", "SHAFT ASSY, FRONT DRIVE, LH", 1}, {"43420A", "SHAFT ASSY, FRONT DRIVE, RH", 1},
          {"04427A", "BOOT KIT, FR DRIVE SHAFT, OUTBOARD", 2}, {"43211A", "KNUCKLE, STEERING", 2}}},
        {"4301", "FRONT DISC BRAKE",
         {{"04465A", "PAD KIT, DISC BRAKE, FRONT", 1}, {"43512A", "DISC, FRONT", 2},
          {"47730A", "CYLINDER ASSY, DISC BRAKE", 2}, {"90947A", "HOSE, FLEXIBLE", 2}}},
        {"4401", "REAR DRUM BRAKE",
         {{"04495A", "SHOE KIT, REAR BRAKE", 1}, {"42431A", "DRUM SUB-ASSY, BRAKE", 2},
          {"47550A", "CYLINDER ASSY, REAR WHEEL", 2}, {"46430A", "CABLE ASSY, PARKING BRAKE", 2}}},
        {"4501", "STEERING COLUMN & GEAR",
         {{"45200A", "COLUMN ASSY, STEERING", 1}, {"45510A", "GEAR ASSY, STEERING", 1},
          {"45046A", "END SUB-ASSY, TIE ROD", 2}, {"45100A", "WHEEL ASSY, STEERING", 1}}},
        {"4801", "FRONT SPRING & SHOCK ABSORBER",
         {{"48510A", "ABSORBER ASSY, SHOCK, FRONT LH", 1}, {"48520A", "ABSORBER ASSY, SHOCK, FRONT RH", 1},
          {"48131A", "SPRING, COIL, FRONT", 2}, {"48609A", "SUPPORT SUB-ASSY, FR SUSPENSION", 2},
          {"48068A", "ARM SUB-ASSY, FR SUSPENSION, LOWER", 2}, {"48815A", "BUSHING, STABILIZER", 2}}},
        {"4802", "REAR SPRING & SHOCK ABSORBER",
         {{"48530A", "ABSORBER ASSY, SHOCK, REAR", 2}, {"48231A", "SPRING, COIL, REAR", 2},
          {"48710A", "ARM ASSY, REAR, TRAILING", 2}}},
        {"5201", "FRONT BUMPER & RADIATOR GRILLE",
         {{"52119A", "COVER, FRONT BUMPER", 1}, {"53111A", "GRILLE, RADIATOR", 1},
          {"52021A", "REINFORCEMENT, FRONT BUMPER", 1}}},
        {"6101", "FRONT DOOR PANEL & GLASS",
         {{"67001A", "PANEL SUB-ASSY, FRONT DOOR, LH", 1}, {"67002A", "PANEL SUB-ASSY, FRONT DOOR, RH", 1},
          {"69210A", "HANDLE ASSY, DOOR, OUTSIDE", 2}, {"68101A", "GLASS SUB-ASSY, FRONT DOOR", 2},
          {"69040A", "LOCK ASSY, FRONT DOOR", 2}}},
        {"8101", "HEADLAMP & REAR COMBINATION LAMP",
         {{"81110A", "UNIT ASSY, HEADLAMP, LH", 1}, {"81150A", "UNIT ASSY, HEADLAMP, RH", 1},
          {"81550A", "LAMP ASSY, REAR COMBINATION", 2}, {"90981A", "BULB, HEADLAMP", 2},
          {"81730A", "LAMP ASSY, SIDE TURN SIGNAL", 2}}},
        {"8501", "WINDSHIELD WIPER & WASHER",
         {{"85110A", "MOTOR ASSY, WINDSHIELD WIPER", 1}, {"85212A", "BLADE ASSY, WIPER", 2},
          {"85221A", "ARM, WINDSHIELD WIPER", 2}, {"85330A", "JAR ASSY, WASHER", 1}}},
        {"8801", "HEATER & AIR CONDITIONER",
         {{"88310A", "COMPRESSOR ASSY, COOLER", 1}, {"88460A", "CONDENSER ASSY, COOLER", 1},
          {"87139A", "ELEMENT, AIR REFINER", 1}, {"87150A", "RADIATOR ASSY, HEATER", 1}}},
    };
    return k;
}

const std::vector<std::string>& common_part_codes() {
    static const std::vector<std::string> k = {"15601A", "17801A", "90919A", "90981A", "87139A", "85212A", "04465A"};
    return k;
}

const std::vector<Catalog>& catalogs() {
    static const std::vector<Catalog> k = {
        {"4410A1", "ARVENA SEDAN", "4-DOOR SEDAN;1.4/1.6 PETROL;1.9 DIESEL", "1803", "2312", "E1", "A1",
         {"AVS14P1", "AVS16P1", "AVS16P4", "AVS19D1"}, "XPA", 12},
        {"4420B1", "ARVENA ESTATE", "5-DOOR ESTATE;1.6 PETROL;1.9 DIESEL", "1806", "2312", "E1", "A1",
         {"AVW16P1", "AVW19D1"}, "XPA", 3},
        {"5130C2", "BRISCA HATCH", "3/5-DOOR HATCHBACK;1.2/1.4 PETROL", "2001", "2409", "E1", "A1",
         {"BRH12P1", "BRH14P1", "BRH14P3"}, "XPB", 2},
        {"6120D1", "TORVAN VAN", "PANEL VAN;HIGH ROOF;2.2 DIESEL", "1902", "2405", "E2", "A2",
         {"TVN22D1", "TVN22D2"}, "XPC", 2},
        {"6230E1", "MAROVA 4X4", "5-DOOR OFF-ROAD;2.0 PETROL;2.2 DIESEL;4WD", "2103", "2412", "E2", "A2",
         {"MRV20P4", "MRV22D4", "MRV22D5"}, "XPD", 3},
    };
    return k;
}

const std::vector<Abbreviation>& abbreviations() {
    static const std::vector<Abbreviation> k = {
        {"2WD", "01", "TWO WHEEL DRIVE"},
        {"4WD", "01", "FOUR WHEEL DRIVE"},
        {"4WD", "03", "QUATRE ROUES MOTRICES"},
        {"A/C", "01", "AIR CONDITIONER"},
        {"A/T", "01", "AUTOMATIC TRANSMISSION"},
        {"ABS", "01", "ANTI-LOCK BRAKE SYSTEM"},
        {"ABS", "03", "SYSTEME ANTIBLOCAGE DES ROUES"},
        {"ASSY", "01", "ASSEMBLY"},
        {"CVT", "01", "CONTINUOUSLY VARIABLE TRANSMISSION"},
        {"DSL", "01", "DIESEL ENGINE"},
        {"EUR", "01", "EUROPEAN MARKET VEHICLES EXCEPT UNITED KINGDOM, IRELAND AND NORDIC COUNTRIES"},
        {"EXC", "01", "EXCEPT"},
        {"FR", "01", "FRONT"},
        {"GL", "01", "GRAND LUXE GRADE"},
        {"GLX", "01", "GRAND LUXE GRADE WITH EXTRA EQUIPMENT: ALLOY WHEELS, FOG LAMPS, CLIMATE CONTROL"},
        {"LH", "01", "LEFT HAND"},
        {"LHD", "01", "LEFT HAND DRIVE"},
        {"M/T", "01", "MANUAL TRANSMISSION"},
        {"NO.", "01", "NUMBER"},
        {"PTL", "01", "PETROL ENGINE"},
        {"RH", "01", "RIGHT HAND"},
        {"RHD", "01", "RIGHT HAND DRIVE"},
        {"STD", "01", "STANDARD GRADE"},
        {"SUB-ASSY", "01", "SUB-ASSEMBLY"},
        {"UK", "01", "UNITED KINGDOM MARKET VEHICLES"},
        {"W/", "01", "WITH"},
        {"W/O", "01", "WITHOUT"},
    };
    return k;
}

const std::vector<Feature>& features() {
    static const std::vector<Feature> k = {
        {1, "ENGINE", {{"1.2P", "1.2 LITRE PETROL, 4 CYLINDER, 16 VALVE"}, {"1.4P", "1.4 LITRE PETROL, 4 CYLINDER, 16 VALVE"},
                       {"1.6P", "1.6 LITRE PETROL, 4 CYLINDER, 16 VALVE, VARIABLE VALVE TIMING"},
                       {"1.9D", "1.9 LITRE DIESEL, COMMON RAIL, TURBOCHARGED WITH INTERCOOLER"},
                       {"2.2D", "2.2 LITRE DIESEL, COMMON RAIL, TURBOCHARGED"}}},
        {2, "TRANSMISSION", {{"5MT", "5-SPEED MANUAL TRANSMISSION"}, {"6MT", "6-SPEED MANUAL TRANSMISSION"},
                             {"4AT", "4-SPEED AUTOMATIC TRANSMISSION"}}},
        {3, "GRADE", {{"STD", "STANDARD"}, {"GL", "GRAND LUXE"}, {"GLX", "GRAND LUXE, EXTRA EQUIPMENT"},
                      {"SPORT", "SPORT, LOWERED SUSPENSION, 17 INCH WHEELS"}}},
        {4, "DESTINATION", {{"EUR", "EUROPE EXCEPT UNITED KINGDOM AND IRELAND"}, {"UK", "UNITED KINGDOM AND IRELAND, RIGHT HAND DRIVE"}}},
    };
    return k;
}

}  // namespace pxbuild::demo
