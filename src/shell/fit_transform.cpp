#include "shell/fit_transform.h"

void makeFitTransform(FitTransform& fit, float displayWidth, float displayHeight,
                      float canvasWidth, float canvasHeight)
{
    fit.offsetY = 0.0f;
    fit.offsetX = 0.0f;
    const float scaleByWidth = displayWidth / canvasWidth;
    const float scaleByHeight = displayHeight / canvasHeight;
    al_identity_transform(&fit.transform);

    float scaledWidth = canvasWidth;
    float scaledHeight = canvasHeight;
    if (displayWidth / displayHeight > canvasWidth / canvasHeight) {
        // The display is relatively wider: fill its height and centre across.
        al_scale_transform(&fit.transform, scaleByHeight, scaleByHeight);
        al_transform_coordinates(&fit.transform, &scaledWidth, &scaledHeight);
        fit.offsetX = (displayWidth - scaledWidth) * 0.5f;
    } else {
        al_scale_transform(&fit.transform, scaleByWidth, scaleByWidth);
        al_transform_coordinates(&fit.transform, &scaledWidth, &scaledHeight);
        fit.offsetY = (displayHeight - scaledHeight) * 0.5f;
    }
}
