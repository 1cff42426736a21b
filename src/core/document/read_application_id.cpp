// "[ApplicationID]" of the loaded definition into the calibration's application and product
// strings.

#include "definition/definition_keys.h"
#include "document/qrndoc.h"

namespace korvath {

bool CQRNDoc::ReadApplicationID() {
    if (!reader_.FindSection("[ApplicationID]", 0)) return false;
    auto& app = cal_.application;
    auto& product = cal_.product;
    struct Key {
        const char* name;
        std::string* target;
    };
    const Key required[] = {{definition_keys::kLogicalName, &app.LogicalName},
                            {"TransmissionType", &app.TransmissionType},
                            {"ProdName", &product.ProdName}};
    for (const auto& k : required)
        if (!reader_.FindKeyValue(k.name, *k.target, 0)) return false;
    const Key optional[] = {{"ProdID", &product.ProdID},       {"Schema", &app.Schema},
                            {"Description", &app.Description}, {"MinFWVer", &product.MinFWVer},
                            {"MaxFWVer", &product.MaxFWVer},   {"MinHWVer", &product.MinHWVer},
                            {"SubType", &app.SubType}};
    for (const auto& k : optional) reader_.FindKeyValue(k.name, *k.target, 0);
    return true;
}

}  // namespace korvath
