#pragma once
// A document on a definition written for one benchmark, in a folder of its own that goes with
// it: the traces bound to a graph engine, as the window's document has them.

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "document/qrndoc.h"
#include "graph/graphengine.h"
#include "quiet_document_host.h"

namespace korvath::bench {

struct BenchDocument {
    BenchDocument(const std::string& name, const std::string& definition)
        : dir(std::filesystem::temp_directory_path() / ("korvath-bench-" + name)) {
        std::filesystem::create_directories(dir);
        std::ofstream(dir / "bench.def") << definition;
        doc = std::make_unique<CQRNDoc>(DocumentHost{host, host, settings}, dir.string());
        doc->SetGraph(&graph);
        doc->ResetVariableTable(2);
        doc->LoadDefinitionFile((dir / "bench.def").string());
        doc->ReadDeclarations(1);
        doc->BindGraphicalTuningTraces();
    }
    ~BenchDocument() { std::filesystem::remove_all(dir); }
    BenchDocument(const BenchDocument&) = delete;
    BenchDocument& operator=(const BenchDocument&) = delete;

    std::filesystem::path dir;
    QuietHost host;
    NoSettings settings;
    CGraphEngine graph;
    std::unique_ptr<CQRNDoc> doc;
};

}  // namespace korvath::bench
