#include "data/load_checks.h"

namespace {

thread_local std::string t_ReadingFileName;
thread_local bool t_BadContent = false;
thread_local int t_FlowDepth = 0;

} // namespace

void SetReadingFileName(std::string_view name)
{
    t_ReadingFileName.assign(name);
}

const std::string& ReadingFileName()
{
    return t_ReadingFileName;
}

void MarkBadContent(plat::ByteReader& f)
{
    t_BadContent = true;
    f.fail();
}

bool TakeBadContent()
{
    const bool bad = t_BadContent;
    t_BadContent = false;
    return bad;
}

FlowNesting::FlowNesting()
{
    ++t_FlowDepth;
}

FlowNesting::~FlowNesting()
{
    --t_FlowDepth;
}

bool FlowNesting::ok() const
{
    return t_FlowDepth <= kMaxFlowNesting;
}
