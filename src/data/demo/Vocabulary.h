#pragma once

// Names, places and texts the demo register is made of (UTF-8; the tables store them in
// Windows-1250).

#include <iterator>

namespace velmor::data::demo {

inline constexpr const char* kFamilyNames[] = {
    "POPESCU", "IONESCU", "POPA", "RADU", "DUMITRU", "STAN", "STOICA", "GHEORGHE", "MATEI",
    "CIOBANU", "RUSU", "MUNTEANU", "MOLDOVAN", "NISTOR", "TOMA", "LUPU", "OPREA", "DINU", "BARBU",
    "CONSTANTIN", "\u015EERBAN", "\u0162\u0102RAN", "AVRAM", "BUCUR", "CR\u0102CIUN", "MIHAI",
    "NEAGU", "URSU", "VASILE", "ZAHARIA", "COSTACHE", "AMARIEI", "APOSTOL", "BUTNARU", "CHIRIAC",
    "GRIGORA\u015E", "HU\u0162ANU", "IFTIMIE", "ROTARU", "SAVIN", "TIMOFTE", "UNGUREANU",
    "B\u0102LAN", "C\u0102LIN", "DOBRE", "FLOREA", "ENACHE", "ALBU", "CIOCOIU", "PETRARU",
};

inline constexpr const char* kMaleNames[] = {
    "ION", "GHEORGHE", "VASILE", "CONSTANTIN", "NICOLAE", "MIHAI", "ANDREI", "ALEXANDRU",
    "DUMITRU", "PETRU", "IOAN", "FLORIN", "DANIEL", "MARIUS", "ADRIAN", "CRISTIAN", "GABRIEL",
    "\u015ETEFAN", "COSTEL", "DORIN", "GRIGORE", "TUDOR", "VIOREL", "LUCIAN", "OVIDIU",
    "R\u0102ZVAN", "BOGDAN", "IONU\u0162", "MIRCEA", "EMIL",
};

inline constexpr const char* kFemaleNames[] = {
    "MARIA", "ELENA", "ANA", "IOANA", "GEORGETA", "ELISABETA", "VIORICA", "MIHAELA", "ANDREEA",
    "CRISTINA", "DANIELA", "FLORICA", "RODICA", "ALINA", "\u015ETEFANIA", "AURICA", "DOMNICA",
    "LUMINI\u0162A", "GABRIELA", "NICOLETA", "ROXANA", "CAMELIA", "VASILICA", "MARINELA", "CORINA",
    "LILIANA", "OANA", "BIANCA", "LAURA", "TEODORA",
};

inline constexpr const char* kVillages[] = {"STEJARU", "VALEA SEACA", "DEALU MORII", "POIANA", "M\u0102GURENI"};
inline constexpr int kVillageCount = int(std::size(kVillages));
// How households spread over the villages.
inline constexpr int kVillageWeights[] = {35, 22, 18, 15, 10};

inline constexpr const char* kStreets[] = {
    "PRINCIPALA", "BISERICII", "SCOLII", "MORII", "LIVEZII", "PADURII", "VIILOR", "FANTANII",
    "UNIRII", "1 DECEMBRIE 1918", "MIHAI EMINESCU", "ION CREANGA", "GARII", "PODULUI",
    "CIMITIRULUI", "DEALULUI", "VALEA RECE", "PRUNDULUI", "CRANGULUI", "STEFAN CEL MARE",
};
// Every village has the first streets of the list.
inline constexpr int kCommonStreets = 4;

inline constexpr const char* kCouncilCounty = "NEAMT";
inline constexpr int kCouncilCountyCode = 27;
// Personal codes carry a county code from 1 to 46.
inline constexpr int kLastCountyCode = 46;

struct Place {
    const char* county;
    const char* locality;
    const char* siruta;
};

inline constexpr Place kPlacesElsewhere[] = {
    {"NEAMT", "PIATRA NEAMT", "120726"},
    {"NEAMT", "ROMAN", "121467"},
    {"BACAU", "BACAU", "20297"},
    {"IASI", "IASI", "95060"},
    {"SUCEAVA", "SUCEAVA", "146272"},
    {"BRASOV", "BRASOV", "40198"},
    {"CLUJ", "CLUJ-NAPOCA", "54975"},
    {"CONSTANTA", "CONSTANTA", "60419"},
    {"SECTOR 3 - MUNICIPIUL BUCURESTI", "BUCURESTI", "179169"},
    {"PRAHOVA", "PLOIESTI", "130534"},
    {"VASLUI", "VASLUI", "161794"},
    {"HARGHITA", "GHEORGHENI", "83640"},
    {"TIMIS", "TIMISOARA", "155243"},
};

inline constexpr const char* kCityStreets[] = {
    "REPUBLICII", "LIBERTATII", "MIHAI VITEAZU", "NICOLAE BALCESCU", "DECEBAL", "TRAIAN",
    "CUZA VODA", "AVIATORILOR", "INDEPENDENTEI", "BUCEGI", "PRIMAVERII", "VICTORIEI",
};

inline constexpr const char* kDeedKinds[] = {
    "TITLU DE PROPRIETATE", "CONTRACT DE VANZARE-CUMPARARE", "CERTIFICAT DE MOSTENITOR",
    "ADEVERINTA DE PROPRIETATE", "PROCES VERBAL DE PUNERE IN POSESIE",
};
inline constexpr const char* kSaleContract = "CONTRACT DE VANZARE-CUMPARARE";

inline constexpr const char* kFieldBlocks[] = {
    "LA PADURE", "VALEA LUPULUI", "DEALUL MARE", "SUB COASTA", "LUNCA", "LA CRUCE", "GURA VAII",
    "TARLAUA MARE", "LA IAZ", "PISCUL VIILOR", "CAMPUL DE SUS", "CAMPUL DE JOS", "LA SALCAMI",
};

inline constexpr const char* kBoundaries[] = {
    "DRUM DE EXPLOATARE", "DRUMUL COMUNAL", "CANAL DE IRIGATII", "PADUREA STATULUI", "PARAUL SATULUI",
    "DRUMUL JUDETEAN", "HOTAR CU COMUNA VECINA",
};

inline constexpr const char* kTenants[] = {
    "SC AGRO STEJARU SRL", "ASOCIATIA AGRICOLA STEJARU", "SC CEREALCOM SA", "SC FERMA VERDE SRL",
};

inline constexpr const char* kHouseholdNotes[] = {
    "Terenul este dat in arenda.",
    "Beneficiar de ajutor pentru incalzirea locuintei.",
    "Gospodarie nelocuita in timpul iernii.",
    "Proprietarul locuieste la copii, in alta localitate.",
    "Gospod\u0103rie mo\u015Ftenit\u0103, succesiune nefinalizat\u0103.",
    "A depus cerere de subventie pentru terenul agricol.",
};

inline constexpr const char* kMemberNotes[] = {"PLECAT IN STRAINATATE", "SALARIAT", "CASNICA", "AGRICULTOR", "SOMER"};

}
