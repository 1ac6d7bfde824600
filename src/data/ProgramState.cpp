#include "ProgramState.h"

#include "engine/EngineError.h"

namespace jt {

data::TDataModule1& ProgramState::module() const {
    if (!DataModule1)
        throw engine::EngineError(QStringLiteral("The data module has not been created"));
    return *DataModule1;
}

} // namespace jt
