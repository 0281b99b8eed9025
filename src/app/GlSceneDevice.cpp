#include "GlSceneDevice.h"

#include "core/TextRules.h"
#include "view3d/View3DState.h"
#include "view3d/ViewControl.h"

#include <QCoreApplication>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cstring>
#include <span>

namespace lobex {
namespace {

// Light as the fixed-function pipeline does, per vertex (Gouraud): global ambient plus each
// light's ambient, plus each light's diffuse by the cosine to the light, times the material. A
// vertex without normal gets only the ambient part. Without lighting every vertex is white.
constexpr const char* kVertexShader = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
// The gain the pattern's surface was drawn from at this vertex, dBi.
layout(location = 2) in float gain;
// B − A at this vertex, dB, for the difference colours.
layout(location = 3) in float difference;
uniform mat4 world;
uniform mat4 viewProjection;
uniform bool lighting;
uniform vec4 materialDiffuse;
uniform vec4 materialAmbient;
uniform vec3 globalAmbient;
uniform vec3 lightDirection[2];
uniform vec3 lightDiffuse[2];
uniform vec3 lightAmbient[2];
uniform bool gainColours;
uniform bool byDifference;
uniform float scaleLow;
uniform float scaleHigh;
uniform vec3 gainStops[9];
out vec4 color;
// The vertex's gain, or its difference, on the colour map.
vec3 GainColour() {
    float value = byDifference ? difference : gain;
    float place = clamp((value - scaleLow) / (scaleHigh - scaleLow), 0.0, 1.0) * 8.0;
    int low = min(int(place), 7);
    return mix(gainStops[low], gainStops[low + 1], place - float(low));
}
void main() {
    vec4 placed = world * vec4(position, 1.0);
    gl_Position = viewProjection * placed;
    // Direct3D's depth runs 0..1, OpenGL's clip space -1..1.
    gl_Position.z = 2.0 * gl_Position.z - gl_Position.w;
    vec3 diffuseColour = materialDiffuse.rgb;
    vec3 ambientColour = materialAmbient.rgb;
    if (gainColours) {
        diffuseColour = ambientColour = GainColour();
    }
    if (!lighting) {
        color = gainColours ? vec4(diffuseColour, 1.0) : vec4(1.0);
        return;
    }
    vec3 n = mat3(world) * normal;
    float len = length(n);
    n = len > 0.0 ? n / len : vec3(0.0);
    vec3 ambient = globalAmbient;
    vec3 diffuse = vec3(0.0);
    for (int i = 0; i < 2; ++i) {
        ambient += lightAmbient[i];
        diffuse += lightDiffuse[i] * max(dot(n, -lightDirection[i]), 0.0);
    }
    // The fixed lights wash pale colours out to white; the difference map must keep its zero
    // grey apart from "better", so its shading only darkens the faces turned away.
    if (gainColours && byDifference) {
        float facing = max(max(dot(n, -lightDirection[0]), dot(n, -lightDirection[1])), 0.0);
        color = vec4(diffuseColour * (0.75 + 0.25 * facing), materialDiffuse.a);
        return;
    }
    color = vec4(clamp(ambientColour * ambient + diffuseColour * diffuse, 0.0, 1.0),
                 materialDiffuse.a);
}
)";

constexpr const char* kFragmentShader = R"(#version 330 core
in vec4 color;
out vec4 fragment;
void main() { fragment = color; }
)";

struct GpuVertex {
    Vector3 position;
    Vector3 normal;
    float gain = 0.0f;
    float difference = 0.0f;
};

} // namespace

struct GlSceneDevice::GpuMesh {
    GLuint vao = 0;
    GLuint vbo = 0;
    GLuint ibo = 0;
    // Per subset: first index and count, the triangles of that subset in order.
    std::vector<std::pair<GLint, GLsizei>> subsets;
    // The wire frame as lines, each shared edge once, made at its first wire-frame frame;
    // until then the triangle indices are kept to make it from.
    GLuint edgeVao = 0;
    GLuint edgeIbo = 0;
    std::vector<std::pair<GLint, GLsizei>> edgeSubsets;
    std::vector<std::uint32_t> triangles;
    bool valid = false;
    // Buffers live in one device's context: a mesh another device drew is uploaded again.
    const GlSceneDevice* owner = nullptr;
};

GlSceneDevice::GlSceneDevice() = default;
GlSceneDevice::~GlSceneDevice() = default;

bool GlSceneDevice::Create() {
    if (!initializeOpenGLFunctions()) {
        return false;
    }
    program_ = glCreateProgram();
    for (const auto& [type, source] : {std::pair{GL_VERTEX_SHADER, kVertexShader},
                                       std::pair{GL_FRAGMENT_SHADER, kFragmentShader}}) {
        const GLuint shader = glCreateShader(type);
        glShaderSource(shader, 1, &source, nullptr);
        glCompileShader(shader);
        glAttachShader(program_, shader);
        glDeleteShader(shader);
    }
    glLinkProgram(program_);
    GLint linked = 0;
    glGetProgramiv(program_, GL_LINK_STATUS, &linked);

    glGenVertexArrays(1, &lineVao_);
    glGenBuffers(1, &lineVbo_);
    glBindVertexArray(lineVao_);
    glBindBuffer(GL_ARRAY_BUFFER, lineVbo_);
    glBufferData(GL_ARRAY_BUFFER, 2 * sizeof(GpuVertex), nullptr, GL_DYNAMIC_DRAW);
    SetVertexLayout();
    glBindVertexArray(0);
    return linked != 0;
}

void GlSceneDevice::SetVertexLayout() {
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(GpuVertex), nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, sizeof(GpuVertex),
                          reinterpret_cast<void*>(sizeof(Vector3)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 1, GL_FLOAT, GL_FALSE, sizeof(GpuVertex),
                          reinterpret_cast<void*>(2 * sizeof(Vector3)));
    glEnableVertexAttribArray(3);
    glVertexAttribPointer(3, 1, GL_FLOAT, GL_FALSE, sizeof(GpuVertex),
                          reinterpret_cast<void*>(2 * sizeof(Vector3) + sizeof(float)));
}

void GlSceneDevice::DeleteMesh(GpuMesh& mesh) {
    glDeleteVertexArrays(1, &mesh.vao);
    glDeleteBuffers(1, &mesh.vbo);
    glDeleteBuffers(1, &mesh.ibo);
    if (mesh.edgeVao != 0) {
        glDeleteVertexArrays(1, &mesh.edgeVao);
        glDeleteBuffers(1, &mesh.edgeIbo);
    }
}

void GlSceneDevice::UploadEdges(GpuMesh& mesh) {
    std::vector<std::uint32_t> edges;
    mesh.edgeSubsets.clear();
    for (const auto& [first, count] : mesh.subsets) {
        const auto begin = static_cast<GLint>(edges.size());
        const std::vector<std::uint32_t> run = TriangleEdges(
            std::span(mesh.triangles)
                .subspan(static_cast<std::size_t>(first), static_cast<std::size_t>(count)));
        edges.insert(edges.end(), run.begin(), run.end());
        mesh.edgeSubsets.emplace_back(begin, static_cast<GLsizei>(edges.size()) - begin);
    }
    mesh.triangles = {};
    glGenVertexArrays(1, &mesh.edgeVao);
    glGenBuffers(1, &mesh.edgeIbo);
    glBindVertexArray(mesh.edgeVao);
    glBindBuffer(GL_ARRAY_BUFFER, mesh.vbo);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.edgeIbo);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(edges.size() * sizeof(std::uint32_t)), edges.data(),
                 GL_STATIC_DRAW);
    SetVertexLayout();
}

void GlSceneDevice::Release() {
    for (const auto& mesh : uploads_) {
        DeleteMesh(*mesh);
        mesh->valid = false;
    }
    uploads_.clear();
    glDeleteVertexArrays(1, &lineVao_);
    glDeleteBuffers(1, &lineVbo_);
    glDeleteProgram(program_);
    lineVao_ = lineVbo_ = program_ = 0;
}

void GlSceneDevice::DrawFrame(View3DScene& scene, const View3DState& view, int width, int height) {
    // Meshes the scene no longer holds are dropped from the device.
    std::erase_if(uploads_, [this](const std::shared_ptr<GpuMesh>& mesh) {
        if (mesh.use_count() > 1) {
            return false;
        }
        DeleteMesh(*mesh);
        return true;
    });
    glUseProgram(program_);
    glDisable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    scene.Context.renderer = this;
    Render3DFrame(scene, *this, view, width, height);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glBindVertexArray(0);
    glUseProgram(0);
}

void GlSceneDevice::Clear(std::uint32_t packed) {
    const ColorValue c = ColorValueFromPacked(packed);
    glClearColor(c.r, c.g, c.b, c.a);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

void GlSceneDevice::SetFillMode(bool wireframe, bool lighting) {
    glPolygonMode(GL_FRONT_AND_BACK, wireframe ? GL_LINE : GL_FILL);
    wireframe_ = wireframe;
    lighting_ = lighting;
}

void GlSceneDevice::SetAlphaBlending(bool enabled) {
    if (enabled) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    } else {
        glDisable(GL_BLEND);
    }
}

void GlSceneDevice::UploadUniforms(bool lit) {
    const auto location = [this](const char* name) {
        return glGetUniformLocation(program_, name);
    };
    glUniformMatrix4fv(location("world"), 1, GL_FALSE, world_.data());
    const Matrix viewProjection = view_ * projection_;
    glUniformMatrix4fv(location("viewProjection"), 1, GL_FALSE, viewProjection.data());
    glUniform1i(location("lighting"), lit ? 1 : 0);
    const ColorValue& d = material_.Diffuse;
    const ColorValue& a = material_.Ambient;
    glUniform4f(location("materialDiffuse"), d.r, d.g, d.b, d.a);
    glUniform4f(location("materialAmbient"), a.r, a.g, a.b, a.a);
    const ColorValue g = ColorValueFromPacked(ambient_);
    glUniform3f(location("globalAmbient"), g.r, g.g, g.b);
    std::array<GLfloat, 6> directions{};
    std::array<GLfloat, 6> diffuse{};
    std::array<GLfloat, 6> ambient{};
    for (std::size_t i = 0; i < 2; ++i) {
        const DirectionalLight& light = lights_[i];
        const Vector3 direction = Vec3Normalize(light.Direction);
        std::memcpy(&directions[3 * i], &direction, sizeof(direction));
        diffuse[3 * i] = light.Diffuse.r;
        diffuse[3 * i + 1] = light.Diffuse.g;
        diffuse[3 * i + 2] = light.Diffuse.b;
        ambient[3 * i] = light.Ambient.r;
        ambient[3 * i + 1] = light.Ambient.g;
        ambient[3 * i + 2] = light.Ambient.b;
    }
    glUniform3fv(location("lightDirection"), 2, directions.data());
    glUniform3fv(location("lightDiffuse"), 2, diffuse.data());
    glUniform3fv(location("lightAmbient"), 2, ambient.data());
    glUniform1i(location("gainColours"), gainColouring_ ? 1 : 0);
    if (gainColouring_) {
        const bool difference = gainColouring_->Difference;
        const float span = DifferenceSpan(gainColouring_->SpanDb);
        const float peak = gainColouring_->PeakGain;
        glUniform1i(location("byDifference"), difference ? 1 : 0);
        glUniform1f(location("scaleLow"),
                    difference ? -span : peak - ClampGainRange(gainColouring_->RangeDb));
        glUniform1f(location("scaleHigh"), difference ? span : peak);
        const auto& stops = difference ? DifferenceColourStops() : GainColourStops();
        std::array<GLfloat, 3 * 9> packed{};
        for (std::size_t i = 0; i < stops.size(); ++i) {
            packed[3 * i] = stops[i].r;
            packed[3 * i + 1] = stops[i].g;
            packed[3 * i + 2] = stops[i].b;
        }
        glUniform3fv(location("gainStops"), 9, packed.data());
    }
}

void GlSceneDevice::SetGainColouring(const GainColouring* colouring) {
    gainColouring_.reset();
    if (colouring != nullptr) {
        gainColouring_ = *colouring;
    }
}

void GlSceneDevice::DrawSubset(const MeshData& mesh, std::uint32_t subset) {
    auto gpu = std::static_pointer_cast<GpuMesh>(mesh.DeviceData);
    if (!gpu || !gpu->valid || gpu->owner != this) {
        gpu = std::make_shared<GpuMesh>();
        gpu->owner = this;
        std::vector<GpuVertex> vertices;
        vertices.reserve(mesh.Vertices.size());
        for (const MeshVertex& vertex : mesh.Vertices) {
            vertices.push_back({vertex.Position, vertex.Normal, vertex.Tu, vertex.Tv});
        }
        // Indices grouped by subset, each subset one run.
        std::vector<std::uint32_t> indices;
        indices.reserve(mesh.Indices.size());
        const std::uint32_t top =
            mesh.Attributes.empty()
                ? 0
                : *std::max_element(mesh.Attributes.begin(), mesh.Attributes.end());
        gpu->subsets.assign(top + 1, {0, 0});
        for (std::uint32_t id = 0; id <= top; ++id) {
            gpu->subsets[id].first = static_cast<GLint>(indices.size());
            for (std::size_t face = 0; face < mesh.FaceCount(); ++face) {
                if (face < mesh.Attributes.size() && mesh.Attributes[face] == id) {
                    indices.insert(indices.end(), mesh.Indices.begin() + 3 * face,
                                   mesh.Indices.begin() + 3 * face + 3);
                }
            }
            gpu->subsets[id].second = static_cast<GLsizei>(indices.size()) - gpu->subsets[id].first;
        }
        glGenVertexArrays(1, &gpu->vao);
        glGenBuffers(1, &gpu->vbo);
        glGenBuffers(1, &gpu->ibo);
        glBindVertexArray(gpu->vao);
        glBindBuffer(GL_ARRAY_BUFFER, gpu->vbo);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(GpuVertex)),
                     vertices.data(), GL_STATIC_DRAW);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, gpu->ibo);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                     static_cast<GLsizeiptr>(indices.size() * sizeof(std::uint32_t)),
                     indices.data(), GL_STATIC_DRAW);
        SetVertexLayout();
        gpu->triangles = std::move(indices);
        gpu->valid = true;
        mesh.DeviceData = gpu;
        uploads_.push_back(gpu);
    }
    if (subset >= gpu->subsets.size() || gpu->subsets[subset].second == 0) {
        return;
    }
    UploadUniforms(lighting_);
    if (wireframe_) {
        // Each edge once as a line: a fine pattern turns twice as fast as with every triangle
        // outlined, and the picture is the same.
        if (gpu->edgeVao == 0) {
            UploadEdges(*gpu);
        }
        glBindVertexArray(gpu->edgeVao);
        const auto [first, count] = gpu->edgeSubsets[subset];
        glDrawElements(
            GL_LINES, count, GL_UNSIGNED_INT,
            reinterpret_cast<void*>(static_cast<std::size_t>(first) * sizeof(std::uint32_t)));
        return;
    }
    glBindVertexArray(gpu->vao);
    const auto [first, count] = gpu->subsets[subset];
    glDrawElements(
        GL_TRIANGLES, count, GL_UNSIGNED_INT,
        reinterpret_cast<void*>(static_cast<std::size_t>(first) * sizeof(std::uint32_t)));
}

void GlSceneDevice::DrawLine3D(Vector3 from, Vector3 to, std::uint32_t packed) {
    SetMaterial(MaterialFromColor(ColorValueFromPacked(packed)));
    UploadUniforms(lighting_);
    const GpuVertex vertices[2] = {{from, {}}, {to, {}}};
    glBindVertexArray(lineVao_);
    glBindBuffer(GL_ARRAY_BUFFER, lineVbo_);
    glBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(vertices), vertices);
    glDrawArrays(GL_LINES, 0, 2);
}

namespace {

// What a legend shows: the map's stops from the bottom value up to the top one, the values
// labelled, and the unit over the bar.
struct LegendScale {
    const std::array<GainRgb, 9>& stops;
    float top = 0.0f;
    float bottom = 0.0f;
    std::vector<float> ticks;
    QString unit;
    bool signedTicks = false; // "+1.0" above zero, as differences read
};

LegendScale GainScale(const View3DState& view) {
    const float peak = ScalePeakGain(view);
    const float range = ClampGainRange(view.GainRangeDb);
    return {GainColourStops(), peak, peak - range, GainLegendTicks(peak, range),
            QStringLiteral("dBi")};
}

LegendScale DifferenceScale(const View3DState& view) {
    const float span = DifferenceSpan(view.DifferenceSpanDb);
    return {DifferenceColourStops(),          span, -span, DifferenceLegendTicks(span),
            QStringLiteral("B \u2212 A, dB"), true};
}

// A bar of a colour map, its top stop at the top, with its ticks beside it (fraction 1 at the
// top) and the unit over it; `right` is the room kept free on its right. Part of the frame, so
// every picture taken of the view has it.
void PaintBar(QPainter& painter, QSize size, const std::array<GainRgb, 9>& stops,
              const QString& unit, const std::vector<LegendTick>& ticks, const QString& widest,
              const QFont& font, int right) {
    painter.setFont(font);
    const QFontMetrics metrics(painter.font());
    const int barWidth = 14;
    const int labelWidth = metrics.horizontalAdvance(widest);
    const int top = 16 + metrics.height();
    const int height = std::min(240, size.height() - top - 16);
    const int left = size.width() - 12 - right - labelWidth - 6 - barWidth;
    if (height < 40 || left < 0) {
        return;
    }
    QLinearGradient gradient(0, top, 0, top + height);
    for (std::size_t i = 0; i < stops.size(); ++i) {
        const GainRgb& c = stops[stops.size() - 1 - i];
        gradient.setColorAt(static_cast<double>(i) / static_cast<double>(stops.size() - 1),
                            QColor::fromRgbF(c.r, c.g, c.b));
    }
    const QRect bar(left, top, barWidth, height);
    painter.fillRect(bar, gradient);
    painter.setPen(QColor(255, 255, 255, 192));
    painter.drawRect(bar.adjusted(0, 0, -1, -1));
    const int unitWidth = metrics.horizontalAdvance(unit);
    painter.drawText(
        QPoint(std::min(left, size.width() - 12 - right - unitWidth), top - metrics.descent() - 4),
        unit);
    for (const LegendTick& tick : ticks) {
        const int y = top + static_cast<int>(std::lround((1.0f - tick.Fraction) * (height - 1)));
        painter.drawLine(left + barWidth, y, left + barWidth + 4, y);
        painter.drawText(QPoint(left + barWidth + 6, y + metrics.ascent() / 2 - 1),
                         QString::fromStdString(tick.Text));
    }
}

const QString kGainLegendWidest = QStringLiteral("-000.0 dBi");

void PaintLegend(QPainter& painter, QSize size, const LegendScale& scale,
                 std::string_view decimalSeparator, const QFont& font) {
    const float span = scale.top - scale.bottom;
    std::vector<LegendTick> ticks;
    for (const float tick : scale.ticks) {
        ticks.push_back(
            {(tick - scale.bottom) / span, (scale.signedTicks && tick > 0.0f ? "+" : "") +
                                               FormatPattern(tick, "#0.0", decimalSeparator)});
    }
    PaintBar(painter, size, scale.stops, scale.unit, ticks, kGainLegendWidest, font, 0);
}

// The bar of the currents, the largest at its top, labelled in A or mA; left of the gain legend
// when that is shown too.
void PaintCurrentLegend(QPainter& painter, QSize size, const View3DState& view,
                        std::string_view decimalSeparator, const QFont& font, bool besideGain) {
    const CurrentLegend legend =
        CurrentLegendFor(view.ScaleCurrent.value_or(LargestCurrent(view.Currents)),
                         view.CurrentPhaseOn, decimalSeparator);
    const QFontMetrics metrics(font);
    const int gainWidth =
        besideGain ? metrics.horizontalAdvance(kGainLegendWidest) + 6 + 14 + 12 : 0;
    PaintBar(painter, size, GainColourStops(),
             QCoreApplication::translate("lobex", std::string(legend.Unit).c_str()), legend.Ticks,
             QStringLiteral("-0000.00"), font, gainWidth);
}

} // namespace

View3DFonts DefaultView3DFonts() {
    View3DFonts fonts;
    fonts.axis = QFont(QStringLiteral("Arial"), 12);
    fonts.axis.setBold(true);
    return fonts;
}

void PaintViewText(QPainter& painter, QSize size, const View3DState& view, float maxGain,
                   std::string_view decimalSeparator, const View3DFonts& fonts) {
    painter.setPen(QColor(255, 255, 255, 192));
    for (const TextLine& line : TextLines(view, maxGain, decimalSeparator)) {
        painter.setFont(line.AxisFont ? fonts.axis : fonts.text);
        const QFontMetrics metrics(painter.font());
        painter.drawText(QPoint(line.Left, line.Top + metrics.ascent()),
                         QString::fromStdString(line.Text));
    }
    const bool gainLegend = view.PatternVisible && (view.DifferenceColours || view.GainColours);
    if (gainLegend) {
        PaintLegend(painter, size, view.DifferenceColours ? DifferenceScale(view) : GainScale(view),
                    decimalSeparator, fonts.text);
    }
    if (!view.Currents.empty()) {
        PaintCurrentLegend(painter, size, view, decimalSeparator, fonts.text, gainLegend);
    }
}

} // namespace lobex
