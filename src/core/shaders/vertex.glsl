#version 330 core
// Full-screen pass-through: the quad's corners are already in clip space.
in vec4 inVertex;
in vec2 inTexCoord;
out vec2 out_uvs;

void main()
{
    out_uvs = inTexCoord;
    gl_Position = inVertex;
}
