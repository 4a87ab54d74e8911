#pragma once
// Batches a tree's changes for a scope, also when an error passes through.
#include "toolkit/controls/TreeNodes.h"

class TTreeUpdate {
public:
    explicit TTreeUpdate(TTreeNodes& nodes) noexcept : nodes_(nodes) { nodes_.BeginUpdate(); }
    ~TTreeUpdate() { nodes_.EndUpdate(); }
    TTreeUpdate(const TTreeUpdate&) = delete;
    TTreeUpdate& operator=(const TTreeUpdate&) = delete;

private:
    TTreeNodes& nodes_;
};
