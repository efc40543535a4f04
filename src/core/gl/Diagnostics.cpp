#include "Diagnostics.h"

#include <atomic>
#include <cstdio>
#include <sstream>

namespace solvane {
namespace {

std::atomic<DiagnosticsSink> sink{DiagnosticsSink::kStandardOutput};

std::FILE* Target() {
  return sink.load(std::memory_order_relaxed) == DiagnosticsSink::kStandardError ? stderr : stdout;
}

// One message, written whole so that output of other threads cannot land inside it.
// Stream messages are flushed at once, as the standard stream's endl did.
void Write(const std::string& text, bool flush) {
  std::FILE* target = Target();
  std::fwrite(text.data(), 1, text.size(), target);
  if (flush) std::fflush(target);
}

// Formats with the standard stream's rules, ending the message with a line end.
template <typename... Parts>
void Report(const Parts&... parts) {
  std::ostringstream text;
  (text << ... << parts);
  text << '\n';
  Write(text.str(), true);
}

// Writes one prefixed message: prefix and text become one string first.
void ReportPrefixed(std::string_view text, std::string_view suffix = {}) {
  Report(kDebugPrefix, text, suffix);
}

void ReportNameList(const char* heading, const std::vector<std::string>& names) {
  std::string text = std::string(heading) + '\n';
  for (const std::string& name : names) text += name + '\n';
  Write(text, true);
}

}  // namespace

void SetDiagnosticsSink(DiagnosticsSink to) {
  sink.store(to, std::memory_order_relaxed);
}

void PrintMessage(const char* text) {
  Write(text, false);
}
void PrintMessageLine(const char* text) {
  Write(std::string(text) + "\n", false);
}
void PrintCompileFailed(const char* log) {
  Write(std::string("Compile Shader Failed - ") + log + "\n", false);
}
void PrintLinkFailed(const char* log) {
  Write(std::string("Link Program Failed - ") + log + "\n", false);
}
void PrintProgramError(unsigned int errorCode) {
  Write("Prog Error: " + std::to_string(static_cast<int>(errorCode)) + "\n", false);
}

void ReportImageTypeInt() {
  Report("Image Type is INT");
}

void ReportFramebufferError(std::string_view statusName, unsigned int status) {
  Report("Framebuffer Error - ", statusName, "Code: ", status);
}

void ReportFramebufferNeverInitialised() {
  Report("Warning: Requested FBO be deleted but it was never init (may not be an issue "
         "but just in case)");
}

void ReportUploadWithoutTexture() {
  ReportPrefixed("UploadToTexture() called without valid texture");
}

void ReportCreateBufferError(unsigned int errorCode) {
  ReportPrefixed("create buffer error: ", std::to_string(errorCode));
}

void ReportPodHasBuffers() {
  ReportPrefixed("error: pod already has buffers");
}

void ReportActiveAttribError(unsigned int errorCode) {
  // Only this code is hexadecimal.
  Report("Active Attrib Error: ", std::hex, errorCode);
}

void ReportNoActiveAttribs(unsigned int program) {
  Report("No Active Attribs shader: ", program);
}

void ReportAttribLocationError(std::string_view name, unsigned int errorCode) {
  Report("Attrib Location:", name, errorCode);
}

void ReportBufferBindError(unsigned int errorCode) {
  Report("Buff:", errorCode);
}

void ReportVertexAttribError(unsigned int errorCode) {
  Report(" Vertex Attrib: ", errorCode);
}

void ReportAttributesNotSet(const std::vector<std::string>& names) {
  ReportNameList("The Following Attributes are not set:", names);
}

void ReportProgramNotLinked(unsigned int program) {
  Report("Program Not Linked : ", program);
}

void ReportNoActiveUniforms(unsigned int program) {
  Report("No Active Uniforms for prog: ", program);
}

void ReportUniformError(std::string_view name, int location, unsigned int errorCode,
                        std::string_view value) {
  Report("Uniform Error: ", name, ":", location, ":", errorCode, '\n',  //
         "Uni Index: ", location, '\n',                             //
         "Uni Value: ", value);
}

void ReportUniformsNotSet(int activeCount, const std::vector<std::string>& names) {
  Report("Num Uniforms: ", activeCount);
  ReportNameList("The Following Uniforms are not set:", names);
}

}  // namespace solvane
