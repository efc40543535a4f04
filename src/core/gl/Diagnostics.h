// The GL toolkit's messages. The toolkit never fails a command: it reports what went wrong
// here, on standard output, and hands back a null or 0 result. Context and program building
// use C formatted output; render targets, buffers and the quad use the standard stream.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace solvane {

// Put in front of the three stream messages that other plug-ins' output could be mistaken
// for; joined with the message into one text before it is written.
inline constexpr char kDebugPrefix[] = "QR_DEBUG_SOLVANE ";

// Context and program messages, printed as they are (the line end is part of the text).
inline constexpr char kMsgCantRegisterWindowClass[] = "Can't Register Window Class\n";
inline constexpr char kMsgNoDrawingContext[] = "Cannot create Drawing Context.\n";
inline constexpr char kMsgNoOpenGLContext[] = "Cannot create OPENGL Context.\n";
inline constexpr char kMsgTempContextNotCurrent[] = "Cannot Make Temp Context Current.\n";
inline constexpr char kMsgGlewNotInitialized[] = "Glew isn't initialized.\n";
inline constexpr char kMsgNoCreateContextAttribs[] = "WGL Create Context Attrib isn't supported.\n";
inline constexpr char kMsgCoreContextFailed[] = "OpenGL 4.1/3.2 Ctx can't be initialized.\n";
inline constexpr char kMsgCoreGlewNotInitialized[] = "Core Profile Glew isn't initialized.\n";

// The EGL backend's own steps, which have no WGL counterpart; printed as they are, and
// followed by the EGL error where an EGL call failed.
inline constexpr char kMsgEglApiNotBound[] = "Cannot bind the OpenGL API to EGL.\n";
inline constexpr char kMsgEglNoDisplay[] = "Cannot open an EGL display.\n";
inline constexpr char kMsgEglNoConfig[] = "No EGL configuration renders OpenGL.\n";
inline constexpr char kMsgEglNoPbuffer[] = "Cannot create the EGL pbuffer.\n";
inline constexpr char kMsgEglNoCreateContext[] = "EGL cannot create core-profile contexts.\n";

// Context messages printed with "%s\n".
inline constexpr char kMsgWindowCreationFailed[] = "Window Creation Failed";
inline constexpr char kMsgCannotSetContext[] = "Cannot Set OpenGL Context";
inline constexpr char kMsgContextDestructionFailed[] = "GL Context Destruction Failed";

// C formatted output.
void PrintMessage(const char* text);      // the text as it is
void PrintMessageLine(const char* text);  // the text and a line end
void PrintCompileFailed(const char* log);
void PrintLinkFailed(const char* log);
void PrintProgramError(unsigned int errorCode);

// Standard output stream; each message ends with a line end and a flush.
void ReportImageTypeInt();
void ReportFramebufferError(std::string_view statusName, unsigned int status);
void ReportFramebufferNeverInitialised();
void ReportUploadWithoutTexture();
void ReportCreateBufferError(unsigned int errorCode);
void ReportPodHasBuffers();
void ReportActiveAttribError(unsigned int errorCode);  // the code in hexadecimal
void ReportNoActiveAttribs(unsigned int program);
void ReportAttribLocationError(std::string_view name, unsigned int errorCode);
void ReportBufferBindError(unsigned int errorCode);
void ReportVertexAttribError(unsigned int errorCode);
void ReportAttributesNotSet(const std::vector<std::string>& names);
void ReportProgramNotLinked(unsigned int program);
void ReportNoActiveUniforms(unsigned int program);
void ReportUniformError(std::string_view name, int location, unsigned int errorCode,
                        std::string_view value);
void ReportUniformsNotSet(int activeCount, const std::vector<std::string>& names);

}  // namespace solvane
