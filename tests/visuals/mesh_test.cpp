#include "visuals/mesh.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/file_registry.h"
#include "engine/texture.h"

namespace {

struct Corner {
    int vertex;
    float u, v;
};

// A ".msh_s" image: header, positions, faces, then the texture pairs of the corners.
std::vector<uint8_t> meshBytes(bool smooth, const std::vector<float>& positions,
                               const std::vector<Corner>& corners, int claimedVertices = -1) {
    std::vector<uint8_t> out(37, 0);
    out[3] = smooth ? 1 : 0;
    int32_t v = claimedVertices >= 0 ? claimedVertices : static_cast<int32_t>(positions.size() / 3);
    int32_t f = static_cast<int32_t>(corners.size() / 3);
    std::memcpy(out.data() + 29, &v, 4);
    std::memcpy(out.data() + 33, &f, 4);
    auto put = [&](const void* p, size_t n) {
        out.insert(out.end(), (const uint8_t*)p, (const uint8_t*)p + n);
    };
    for (float x : positions) put(&x, 4);
    for (const Corner& c : corners) put(&c.vertex, 4);
    for (const Corner& c : corners) {
        put(&c.u, 4);
        put(&c.v, 4);
    }
    return out;
}

const std::vector<float> kSquare = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};

class MeshTest : public ::testing::Test {
  protected:
    void SetUp() override {
        releaseMeshes();
        resetFileRegistry();
        resetTextures();
    }
    void TearDown() override {
        releaseMeshes();
        resetFileRegistry();
    }
    std::vector<std::string> kept;
    void registerText(const char* name, const std::string& text) {
        kept.push_back(text);
        ASSERT_TRUE(registerFile(name, static_cast<int>(kept.back().size()),
                                 reinterpret_cast<uint8_t*>(kept.back().data()), false));
    }
};

TEST_F(MeshTest, SharedVertexWithTwoTexturePairsIsSplit) {
    // Two faces share vertices 0 and 2; vertex 0 has a different texture pair in each face.
    std::vector<Corner> corners = {{0, 0, 0}, {1, 1, 0}, {2, 1, 1}, {0, 0.5f, 0.5f}, {2, 1, 1}, {3, 0, 1}};
    std::vector<uint8_t> bytes = meshBytes(true, kSquare, corners);
    Mesh mesh;
    ASSERT_TRUE(readMesh("square.msh_s", bytes.data(), static_cast<int>(bytes.size()), mesh));
    EXPECT_EQ(mesh.vertexCount, 5); // four positions, vertex 0 twice
    ASSERT_EQ(mesh.indexCount, 6);
    EXPECT_EQ(mesh.indices[2], mesh.indices[4]); // vertex 2 is shared with one pair
    EXPECT_NE(mesh.indices[0], mesh.indices[3]);
    const LitVertex& second = mesh.vertices[mesh.indices[3]];
    EXPECT_FLOAT_EQ(second.u, 0.5f); // the split marks are gone
    EXPECT_FLOAT_EQ(second.v, 0.5f);
    EXPECT_FLOAT_EQ(mesh.vertices[mesh.indices[1]].v, 1.0f); // v is turned over
    EXPECT_NEAR(mesh.vertices[0].nz, 1.0f, 1e-5);
    EXPECT_NEAR(mesh.sphereRadius, 0.7071f, 1e-3);
    freeMesh(mesh);
}

TEST_F(MeshTest, FlatMeshHasAVertexPerCorner) {
    std::vector<Corner> corners = {{0, 0, 0}, {1, 1, 0}, {2, 1, 1}, {0, 0, 0}, {2, 1, 1}, {3, 0, 1}};
    std::vector<uint8_t> bytes = meshBytes(false, kSquare, corners);
    Mesh mesh;
    ASSERT_TRUE(readMesh("flat.msh_s", bytes.data(), static_cast<int>(bytes.size()), mesh));
    EXPECT_EQ(mesh.vertexCount, 6);
    EXPECT_EQ(mesh.indices, nullptr);
    freeMesh(mesh);
}

TEST_F(MeshTest, CountsThatDoNotFitTheFileAreRejected) {
    std::vector<Corner> corners = {{0, 0, 0}, {1, 1, 0}, {2, 1, 1}};
    Mesh mesh;
    std::vector<uint8_t> bytes = meshBytes(false, kSquare, corners, 5000); // more vertices than bytes
    EXPECT_FALSE(readMesh("big.msh_s", bytes.data(), static_cast<int>(bytes.size()), mesh));
    bytes = meshBytes(false, kSquare, corners, 0x7FFFFFFF); // would overflow a 32-bit size check
    EXPECT_FALSE(readMesh("huge.msh_s", bytes.data(), static_cast<int>(bytes.size()), mesh));
    bytes = meshBytes(false, kSquare, {{0, 0, 0}, {1, 1, 0}, {9, 1, 1}}); // a corner past the vertices
    EXPECT_FALSE(readMesh("bad.msh_s", bytes.data(), static_cast<int>(bytes.size()), mesh));
    EXPECT_FALSE(readMesh("short.msh_s", bytes.data(), 20, mesh));
}

TEST_F(MeshTest, ObjectIsCachedAndReadsItsBounds) {
    std::vector<uint8_t> mesh = meshBytes(false, kSquare, {{0, 0, 0}, {1, 1, 0}, {2, 1, 1}});
    std::string meshText(mesh.begin(), mesh.end());
    registerText("ornament.msh_s", meshText);
    registerText("ornament.cgo",
                 "nummeshes=1\r\nmesh0=ornament.msh_s\r\ntexture0=\r\nnumbounds=2\r\n"
                 "bound0.name=base\r\nbound0.b_circle=0\r\nbound0.center.x=1\r\nbound0.dx=5\r\n"
                 "bound1.name=top\r\nbound1.b_circle=1\r\nbound1.radius=2.5\r\n");
    MeshObject* first = getMeshObject("ornament.cgo");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(getMeshObject("ornament.cgo"), first);
    EXPECT_EQ(meshCache.objects.size(), 1);
    EXPECT_EQ(meshCache.meshes.size(), 1);
    ASSERT_EQ(first->parts.size(), 1);
    ASSERT_EQ(first->bounds.size(), 2);
    const MeshBound& box = first->bounds[0];
    EXPECT_STREQ(box.name, "base");
    EXPECT_FALSE(box.circle);
    EXPECT_FLOAT_EQ(box.halfX, 5.0f);
    EXPECT_FLOAT_EQ(box.halfZ, 5.0f);
    EXPECT_FLOAT_EQ(box.centre.x, 1.0f);
    EXPECT_TRUE(first->bounds[1].circle);
    EXPECT_FLOAT_EQ(first->bounds[1].radius, 2.5f);
    EXPECT_EQ(getMeshObject("missing.cgo"), nullptr);
}

TEST_F(MeshTest, FrustumRejectsSpheresOutsideTheView) {
    glm::mat4 projection = perspectiveMatrix(0.785398f, 4.0f / 3.0f, 5, 400);
    EXPECT_TRUE(sphereInFrustum(projection, {0, 0, 50}, 1));
    EXPECT_FALSE(sphereInFrustum(projection, {0, 0, -50}, 1));   // behind the eye
    EXPECT_FALSE(sphereInFrustum(projection, {500, 0, 50}, 10)); // far to the right
    EXPECT_TRUE(sphereInFrustum(projection, {0, 0, 402}, 5));    // touches the far plane
}

} // namespace
