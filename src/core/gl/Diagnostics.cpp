#include "Diagnostics.h"

#include <cstdio>
#include <iostream>

namespace solvane {
namespace {

// Writes one prefixed message: prefix and text become one string first, so that output of
// other threads cannot land between them.
void ReportPrefixed(std::string_view text, std::string_view suffix = {}) {
  std::string line(kDebugPrefix);
  line.append(text);
  line.append(suffix);
  std::cout << line << std::endl;
}

void ReportNameList(const char* heading, const std::vector<std::string>& names) {
  std::cout << heading << '\n';
  for (const std::string& name : names) std::cout << name << '\n';
  std::cout.flush();
}

}  // namespace

void PrintMessage(const char* text) {
  std::printf("%s", text);
}
void PrintMessageLine(const char* text) {
  std::printf("%s\n", text);
}
void PrintCompileFailed(const char* log) {
  std::printf("Compile Shader Failed - %s\n", log);
}
void PrintLinkFailed(const char* log) {
  std::printf("Link Program Failed - %s\n", log);
}
void PrintProgramError(unsigned int errorCode) {
  std::printf("Prog Error: %i\n", static_cast<int>(errorCode));
}

void ReportImageTypeInt() {
  std::cout << "Image Type is INT" << std::endl;
}

void ReportFramebufferError(std::string_view statusName, unsigned int status) {
  std::cout << "Framebuffer Error - " << statusName << "Code: " << status << std::endl;
}

void ReportFramebufferNeverInitialised() {
  std::cout << "Warning: Requested FBO be deleted but it was never init (may not be an issue "
               "but just in case)"
            << std::endl;
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
  // Only this code is hexadecimal; the stream goes back to decimal for everyone after.
  std::cout << "Active Attrib Error: " << std::hex << errorCode << std::dec << std::endl;
}

void ReportNoActiveAttribs(unsigned int program) {
  std::cout << "No Active Attribs shader: " << program << std::endl;
}

void ReportAttribLocationError(std::string_view name, unsigned int errorCode) {
  std::cout << "Attrib Location:" << name << errorCode << std::endl;
}

void ReportBufferBindError(unsigned int errorCode) {
  std::cout << "Buff:" << errorCode << std::endl;
}

void ReportVertexAttribError(unsigned int errorCode) {
  std::cout << " Vertex Attrib: " << errorCode << std::endl;
}

void ReportAttributesNotSet(const std::vector<std::string>& names) {
  ReportNameList("The Following Attributes are not set:", names);
}

void ReportProgramNotLinked(unsigned int program) {
  std::cout << "Program Not Linked : " << program << std::endl;
}

void ReportNoActiveUniforms(unsigned int program) {
  std::cout << "No Active Uniforms for prog: " << program << std::endl;
}

void ReportUniformError(std::string_view name, int location, unsigned int errorCode,
                        std::string_view value) {
  std::cout << "Uniform Error: " << name << ":" << location << ":" << errorCode << '\n'
            << "Uni Index: " << location << '\n'
            << "Uni Value: " << value << std::endl;
}

void ReportUniformsNotSet(int activeCount, const std::vector<std::string>& names) {
  std::cout << "Num Uniforms: " << activeCount << '\n';
  ReportNameList("The Following Uniforms are not set:", names);
}

}  // namespace solvane
