#version 330 core
// Pre-process pass. Takes the uploaded texel out of the host's alpha-first order, applies
// the optional soft threshold (on luminance or per channel) and writes either a view
// image in host order or a flattened, premultiplied image for the ray pass.
in vec2 out_uvs;
out vec4 FragColour;

uniform sampler2D inTex;
uniform float thresholdF;
uniform float thresholdSmoothF;
// Declared and never read: exposure takes effect in the ray pass, as its weight. An unread
// uniform is not active, so the value the frame records for it is not applied here.
uniform float exposureF;
uniform int thresholdModeL;
uniform int presentViewL;

// GLSL leaves smoothstep undefined when its edges meet, so without a transition band the
// threshold is a hard step: values above it pass, the threshold value itself and
// everything below it become 0.
float thresholdFactor(float e0, float e1, float x)
{
    if (thresholdSmoothF > 0.0) {
        return smoothstep(e0, e1, x);
    }
    return x > thresholdF ? 1.0 : 0.0;
}

void main()
{
    // Negative components only come from float layers; alpha is made positive too.
    vec4 texel = abs(texture(inTex, out_uvs));
    vec4 colour = texel.yzwx;

    if (thresholdF > 0.0) {
        float e0 = thresholdF - thresholdSmoothF;
        float e1 = thresholdF + thresholdSmoothF;
        if (thresholdModeL == 1) {
            float grey = (colour.r + colour.b + colour.g) * 0.333;
            colour.rgb *= thresholdFactor(e0, e1, grey);
        } else {
            colour.r *= thresholdFactor(e0, e1, colour.r);
            colour.g *= thresholdFactor(e0, e1, colour.g);
            colour.b *= thresholdFactor(e0, e1, colour.b);
        }
    }

    if (presentViewL == 1) {
        FragColour = colour.wxyz;
    } else {
        FragColour = vec4(colour.rgb * colour.a, 1.0);
    }
}
