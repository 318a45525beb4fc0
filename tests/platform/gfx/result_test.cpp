#include "platform/gfx/result.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/gfx/rm/root.h"
#include "platform/gfx/surface.h"

using namespace gfx;

TEST(ErrorName, NamesEveryListedCodeByItsPublishedValue) {
    struct Named {
        std::uint32_t value;
        const char* name;
    };
    const Named listed[] = {
        {0x80004001u, "DDERR_UNSUPPORTED"},        {0x80004005u, "DDERR_GENERIC"},
        {0x80070057u, "DDERR_INVALIDPARAMS"},      {0x8876006Eu, "DDERR_INVALIDCLIPLIST"},
        {0x88760082u, "DDERR_INVALIDOBJECT"},      {0x88760096u, "DDERR_INVALIDRECT"},
        {0x887600CDu, "DDERR_NOCLIPLIST"},         {0x887601C2u, "DDERR_SURFACELOST"},
        {0x8876021Cu, "DDERR_WASSTILLDRAWING"},    {0x88760250u, "DDERR_INVALIDSURFACETYPE"},
        {0x8876026Cu, "DDERR_DCALREADYCREATED"},   {0x8876030Du, "D3DRMERR_BADOBJECT"},
        {0x8876030Eu, "D3DRMERR_BADTYPE"},         {0x8876030Fu, "D3DRMERR_BADALLOC"},
        {0x88760310u, "D3DRMERR_FACEUSED"},        {0x88760311u, "D3DRMERR_NOTFOUND"},
        {0x88760312u, "D3DRMERR_NOTDONEYET"},      {0x88760313u, "D3DRMERR_FILENOTFOUND"},
        {0x88760314u, "D3DRMERR_BADFILE"},         {0x88760315u, "D3DRMERR_BADDEVICE"},
        {0x88760316u, "D3DRMERR_BADVALUE"},        {0x88760317u, "D3DRMERR_BADMAJORVERSION"},
        {0x88760318u, "D3DRMERR_BADMINORVERSION"}, {0x88760319u, "D3DRMERR_UNABLETOEXECUTE"},
        {0x8876031Au, "D3DRMERR_LIBRARYNOTFOUND"}, {0x8876031Bu, "D3DRMERR_INVALIDLIBRARY"},
        {0x8876031Cu, "D3DRMERR_PENDING"},         {0x8876031Du, "D3DRMERR_NOTENOUGHDATA"},
        {0x8876031Eu, "D3DRMERR_REQUESTTOOLARGE"}, {0x8876031Fu, "D3DRMERR_REQUESTTOOSMALL"},
        {0x88760320u, "D3DRMERR_CONNECTIONLOST"},  {0x88760321u, "D3DRMERR_LOADABORTED"},
        {0x88760322u, "D3DRMERR_NOINTERNET"},      {0x88760323u, "D3DRMERR_BADCACHEFILE"},
        {0x88760324u, "D3DRMERR_BOXNOTSET"},       {0x88760325u, "D3DRMERR_BADPMDATA"},
    };
    std::set<std::string> names;
    for (const Named& named : listed) {
        EXPECT_EQ(ErrorName(static_cast<Result>(named.value)), named.name);
        names.insert(named.name);
    }
    EXPECT_EQ(names.size(), 36u);
}

TEST(ErrorName, AnyOtherCodeIsUndefined) {
    for (Result code : {DD_OK, DDERR_OUTOFMEMORY, DDERR_SURFACEBUSY, DDERR_NOTLOCKED,
                        static_cast<Result>(0x88760326u), static_cast<Result>(0x8876030Cu), -1}) {
        EXPECT_EQ(ErrorName(code), "Undefined DX Error") << std::hex << code;
    }
}

TEST(FaultPlan, FailsExactlyThePlannedCallAndCountsEveryCall) {
    FaultPlan plan;
    ASSERT_TRUE(plan.FailCall("Lock", 3, DDERR_SURFACELOST));
    EXPECT_EQ(plan.Check(Op::Lock), DD_OK);
    EXPECT_EQ(plan.Check(Op::Unlock), DD_OK);
    EXPECT_EQ(plan.Check(Op::Lock), DD_OK);
    EXPECT_EQ(plan.Check(Op::Lock), DDERR_SURFACELOST);
    EXPECT_EQ(plan.Check(Op::Lock), DD_OK);
    EXPECT_EQ(plan.Calls("Lock"), 4);
    EXPECT_EQ(plan.Calls("Unlock"), 1);

    ASSERT_TRUE(plan.FailFrom("Blt", 2, DDERR_GENERIC));
    EXPECT_EQ(plan.Check(Op::Blt), DD_OK);
    EXPECT_EQ(plan.Check(Op::Blt), DDERR_GENERIC);
    EXPECT_EQ(plan.Check(Op::Blt), DDERR_GENERIC);

    EXPECT_FALSE(plan.FailCall("NoSuchCall", 1, DDERR_GENERIC));
    EXPECT_FALSE(plan.FailCall("Lock", 0, DDERR_GENERIC));
    EXPECT_FALSE(plan.FailCall("Lock", 1, DD_OK));
    plan.Reset();
    EXPECT_EQ(plan.Calls("Blt"), 0);
    EXPECT_EQ(plan.Check(Op::Blt), DD_OK);
}

TEST(FaultPlan, EveryOperationHasADistinctName) {
    std::set<std::string_view> names;
    for (std::size_t i = 0; i < kOpCount; ++i) {
        const Op op = static_cast<Op>(i);
        Op back{};
        ASSERT_TRUE(OpFromName(OpName(op), back));
        EXPECT_EQ(back, op);
        names.insert(OpName(op));
    }
    EXPECT_EQ(names.size(), kOpCount);
}

TEST(FaultPlan, PlannedFailuresReachTheLayersOperationsAndLeaveThemUndone) {
    auto faults = std::make_shared<FaultPlan>();
    faults->FailCall("CreateSurface", 2, DDERR_GENERIC);
    faults->FailCall("BltFast", 1, DDERR_SURFACELOST);
    faults->FailCall("CreateFrame", 3, D3DRMERR_BADALLOC);
    faults->FailCall("Load", 1, D3DRMERR_FILENOTFOUND);
    faults->FailCall("DirectDrawCreate", 2, DDERR_UNSUPPORTED);

    std::shared_ptr<DirectDraw> directDraw;
    ASSERT_EQ(DirectDrawCreate(DisplayMode{}, faults, directDraw), DD_OK);
    std::shared_ptr<DirectDraw> second;
    EXPECT_EQ(DirectDrawCreate(DisplayMode{}, faults, second), DDERR_UNSUPPORTED);
    EXPECT_EQ(second, nullptr);

    SurfaceDesc desc;
    desc.caps = DDSCAPS_OFFSCREENPLAIN;
    desc.width = 4;
    desc.height = 4;
    std::shared_ptr<Surface> a;
    std::shared_ptr<Surface> b;
    ASSERT_EQ(directDraw->CreateSurface(desc, a), DD_OK);
    EXPECT_EQ(directDraw->CreateSurface(desc, b), DDERR_GENERIC);
    EXPECT_EQ(b, nullptr);
    ASSERT_EQ(directDraw->CreateSurface(desc, b), DD_OK);

    FillPixels(a->View(), Rect{0, 0, 4, 4}, 0x112233);
    EXPECT_EQ(b->BltFast(0, 0, a.get(), nullptr, 0), DDERR_SURFACELOST);
    EXPECT_EQ(LoadPixel(b->View().At(0, 0), 4), 0u);
    EXPECT_EQ(b->BltFast(0, 0, a.get(), nullptr, 0), DD_OK);
    EXPECT_EQ(LoadPixel(b->View().At(0, 0), 4), 0x112233u);

    std::shared_ptr<rm::Root> root;
    ASSERT_EQ(rm::Direct3DRMCreate(faults, root), D3DRM_OK);
    std::shared_ptr<rm::Frame> scene;
    std::shared_ptr<rm::Frame> child;
    ASSERT_EQ(root->CreateFrame(nullptr, scene), D3DRM_OK);
    ASSERT_EQ(root->CreateFrame(scene, child), D3DRM_OK);
    std::shared_ptr<rm::Frame> third;
    EXPECT_EQ(root->CreateFrame(scene, third), D3DRMERR_BADALLOC);
    EXPECT_EQ(scene->Children().size(), 1u);

    std::shared_ptr<rm::MeshBuilder> builder;
    ASSERT_EQ(root->CreateMeshBuilder(builder), D3DRM_OK);
    EXPECT_EQ(builder->Load("does-not-matter.x"), D3DRMERR_FILENOTFOUND);
    EXPECT_EQ(faults->Calls("Load"), 1);
}
