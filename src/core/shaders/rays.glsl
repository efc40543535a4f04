#version 330 core
// Ray pass. For every pixel, sums decaying samples of the pre-processed image either along
// the line towards the position P (zoom) or along arcs about P (spin), optionally pulling
// the colour channels apart, and writes the result in the host's alpha-first order.
in vec2 out_uvs;
out vec4 FragColor;

uniform sampler2D inTex;
uniform float posX;
uniform float posY;
uniform float samplesF;
uniform float decayF;
uniform float densityF;
uniform float weightF;
uniform float jitterF;
uniform int modeL;
uniform int forwardL;
uniform int backwardL;
uniform float caF;
uniform int aberration_channelL;
uniform float aspectF;
uniform int unmultL;
// Declared and never read: the pre-process pass owns the threshold. An unread uniform is
// not active, so the value the pre-process pass left in the frame's table is not applied.
uniform float thresholdF;

#define SAMPLES samplesF

float hash(vec2 q)
{
    return fract(sin(41.0 * q.x + 289.0 * q.y) * 45758.5453);
}

// Rotates p about P by theta, in a space where the target's pixels are square.
vec2 modifyCoords(vec2 p, vec2 P, float theta)
{
    vec2 d = p - P;
    d.x /= aspectF;
    vec2 r = vec2(d.x * cos(theta) + d.y * sin(theta), -d.x * sin(theta) + d.y * cos(theta));
    r.x *= aspectF;
    return P + r;
}

// Merges the three per-channel sums of the aberration paths into one colour.
vec4 mergeChannels(vec4 colR, vec4 colG, vec4 colB)
{
    return vec4(colR.r, colG.g, colB.b, (colR.a + colG.a + colB.a) * 0.333);
}

vec4 zoom(vec2 s, vec2 dTuv, float weightNorm, float decay)
{
    vec4 col = vec4(0.0);
    if (forwardL == 1) {
        vec2 q = s;
        float w = weightNorm;
        for (float i = 0.0; i < SAMPLES; i += 1.0) {
            col += texture(inTex, q) * w;
            w *= decay;
            q -= dTuv;
        }
    }
    if (backwardL == 1) {
        vec2 q = s;
        float w = weightNorm;
        // The forward pass already read s.
        if (forwardL == 1) {
            q += dTuv;
        }
        for (float i = 0.0; i < SAMPLES; i += 1.0) {
            col += texture(inTex, q) * w;
            w *= decay;
            q += dTuv;
        }
    }
    return col;
}

vec4 zoomAberration(vec2 s, vec2 dR, vec2 dG, vec2 dB, float weightNorm, float decay)
{
    vec4 colR = vec4(0.0);
    vec4 colG = vec4(0.0);
    vec4 colB = vec4(0.0);
    if (forwardL == 1) {
        vec2 qR = s;
        vec2 qG = s;
        vec2 qB = s;
        float w = weightNorm;
        for (float i = 0.0; i < SAMPLES; i += 1.0) {
            colR += texture(inTex, qR) * w;
            colG += texture(inTex, qG) * w;
            colB += texture(inTex, qB) * w;
            w *= decay;
            qR -= dR;
            qG -= dG;
            qB -= dB;
        }
    }
    if (backwardL == 1) {
        vec2 qR = s;
        vec2 qG = s;
        vec2 qB = s;
        float w = weightNorm;
        if (forwardL == 1) {
            qR += dR;
            qG += dG;
            qB += dB;
        }
        for (float i = 0.0; i < SAMPLES; i += 1.0) {
            colR += texture(inTex, qR) * w;
            colG += texture(inTex, qG) * w;
            colB += texture(inTex, qB) * w;
            w *= decay;
            qR += dR;
            qG += dG;
            qB += dB;
        }
    }
    return mergeChannels(colR, colG, colB);
}

vec4 spin(vec2 p, vec2 P, float random, float incrF, float weightNorm, float decay)
{
    vec4 col = vec4(0.0);
    float c = 0.0;
    float w = weightNorm;
    for (float i = 0.0; i < SAMPLES; i += 1.0) {
        float fuzz = random * (i / SAMPLES);
        float theta = c + fuzz;
        col += texture(inTex, modifyCoords(p, P, theta)) * w;
        col += texture(inTex, modifyCoords(p, P, -theta)) * w;
        c += incrF;
        w *= decay;
    }
    return col;
}

vec4 spinAberration(vec2 p, vec2 P, float random, float incrF, vec3 channelWeightV,
                    float weightNorm, float decay)
{
    vec4 colR = vec4(0.0);
    vec4 colG = vec4(0.0);
    vec4 colB = vec4(0.0);
    vec3 c = vec3(0.0);
    float w = weightNorm;
    for (float i = 0.0; i < SAMPLES; i += 1.0) {
        float fuzz = random * (i / SAMPLES);
        colR += texture(inTex, modifyCoords(p, P, c.r + fuzz)) * w;
        colR += texture(inTex, modifyCoords(p, P, -(c.r + fuzz))) * w;
        colG += texture(inTex, modifyCoords(p, P, c.g + fuzz)) * w;
        colG += texture(inTex, modifyCoords(p, P, -(c.g + fuzz))) * w;
        colB += texture(inTex, modifyCoords(p, P, c.b + fuzz)) * w;
        colB += texture(inTex, modifyCoords(p, P, -(c.b + fuzz))) * w;
        c += incrF * channelWeightV;
        w *= decay;
    }
    return mergeChannels(colR, colG, colB);
}

// Un-multiplies by the brightest channel, or caps the summed alpha at 1.
vec4 finish(vec4 col)
{
    if (unmultL == 1) {
        float b = min(max(max(col.r, col.g), col.b), 1.0);
        if (b > 0.0) {
            return vec4(col.r / b, col.g / b, col.b / b, b);
        }
        return vec4(0.0);
    }
    return vec4(col.rgb, min(col.a, 1.0));
}

void main()
{
    vec2 p = out_uvs;
    vec2 P = vec2(posX, posY);
    float h = hash(p);

    float decay = 1.0 - (1.0 / SAMPLES) * decayF;
    float density = min(densityF, 1.0);
    float weightNorm = (1.0 / SAMPLES) * weightF;
    vec2 tuv = p - P;
    vec2 dTuv = (tuv * density) / SAMPLES;
    float incrF = (densityF * 0.01) / SAMPLES;
    vec3 channelWeightV = vec3(1.0);

    // Per-channel zoom steps; without aberration all three equal dTuv.
    vec2 dR = dTuv;
    vec2 dG = dTuv;
    vec2 dB = dTuv;
    bool aberration = caF != 0.0;
    if (aberration) {
        float ca_modF = caF * 0.1;
        vec2 longer = (tuv * (density + ca_modF)) / SAMPLES;
        vec2 shorter = (tuv * (density - ca_modF)) / SAMPLES;
        if (aberration_channelL == 1) {
            dR = longer;
            dB = shorter;
            channelWeightV.r += caF;
            channelWeightV.b -= caF;
        } else if (aberration_channelL == 2) {
            dR = longer;
            dG = shorter;
            channelWeightV.r += caF;
            channelWeightV.g -= caF;
        } else {
            dG = longer;
            dB = shorter;
            channelWeightV.g += caF;
            channelWeightV.b -= caF;
        }
    }

    vec4 col;
    if (modeL == 2) {
        vec2 s = p + dTuv * (h * jitterF - 1.0);
        col = aberration ? zoomAberration(s, dR, dG, dB, weightNorm, decay)
                         : zoom(s, dTuv, weightNorm, decay);
    } else {
        float random = abs(h * (jitterF * 0.01));
        random *= densityF * 0.1;
        col = aberration ? spinAberration(p, P, random, incrF, channelWeightV, weightNorm, decay)
                         : spin(p, P, random, incrF, weightNorm, decay);
    }

    FragColor = finish(col).wxyz;
}
