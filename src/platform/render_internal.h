// What the sprite and text halves of the drawing layer share.
#pragma once

struct SDL_Renderer;

// The renderer RenderAttach gave, or null.
SDL_Renderer* RenderCurrent(void);
// Destroys every cached string texture (they belong to the renderer).
void TextCacheClear(void);
